# Fetches a Debian source package, sourced by the scripts that build a
# library from one (scripts/build-libspng.sh, scripts/build-libmd.sh,
# scripts/build-libdeflate.sh):
#   debianSource <source package> <binary package installed here> <folder>
# unpacks the source of the version of the installed package into the
# folder and prints that version. Adds a deb-src entry for Debian's own
# archives when apt knows no source packages yet.
debianSource() {
  local source=$1 installed=$2 folder=$3 version sudo=""
  version=$(dpkg-query -W -f='${source:Version}' "$installed")
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if ! apt-get source --print-uris "$source=$version" >/dev/null 2>&1; then
    echo "-- adding deb-src entries for Debian's archives" >&2
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $sudo tee /etc/apt/sources.list.d/brelquim-deb-src.sources >/dev/null
    else
      sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list |
        $sudo tee /etc/apt/sources.list.d/brelquim-deb-src.list >/dev/null
    fi
    $sudo apt-get update -qq >&2
  fi
  (cd "$folder" && apt-get source -qq "$source=$version" >/dev/null 2>&1) ||
    (cd "$folder" && apt-get source "$source=$version" >&2)
  echo "$version"
}
