#!/usr/bin/env bash
# Installs the named Debian packages that are not installed yet.
#   scripts/setup.sh package...
# When another process holds the package manager's lock (an unattended
# upgrade on a fresh machine, another run of this script), waits for it
# up to BRELQUIM_APT_WAIT seconds (default 600), saying so, instead of
# failing at once.
set -euo pipefail
missing=()
for package in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
wait=${BRELQUIM_APT_WAIT:-600}

# Runs an apt-get command; while it fails because another process holds
# the package manager's lock, says so and tries again, for at most $wait
# seconds in all. dpkg's own lock is waited on by apt-get itself
# (DPkg::Lock::Timeout); the lists and archives locks by this loop.
started=$SECONDS
aptGet() {
  local errors said=""
  errors=$(mktemp)
  until $sudo apt-get -o DPkg::Lock::Timeout="$wait" "$@" 2>"$errors"; do
    if ! grep -q -i -e 'could not get lock' -e 'unable to lock' -e 'unable to acquire' "$errors"; then
      cat "$errors" >&2
      rm -f "$errors"
      exit 1
    fi
    if [ $((SECONDS - started)) -ge "$wait" ]; then
      cat "$errors" >&2
      echo "the package manager is still locked by another process after $wait s;" \
        "run scripts/setup.sh again once it is free" >&2
      rm -f "$errors"
      exit 1
    fi
    if [ -z "$said" ]; then
      echo "waiting for the package manager: another process holds its lock (at most $wait s in all)"
      said=1
    fi
    sleep 3
  done
  cat "$errors" >&2
  rm -f "$errors"
  [ -z "$said" ] || echo "the package manager was free after $((SECONDS - started)) s"
}

aptGet update -qq
aptGet install -y -qq --no-install-recommends "${missing[@]}"
