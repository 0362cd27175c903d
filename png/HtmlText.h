// Text put into an HTML page as it is: the characters that would start
// markup or end an attribute written as entities.
#pragma once

#include <string>

std::string htmlEscaped(const std::string& text);
