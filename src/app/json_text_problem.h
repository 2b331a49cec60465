// Why the bytes of a JSON data file cannot be used, for the ERROR line that says so: the
// parser's message and offset, or what else is wrong with them. Never empty.
#pragma once

#include <string>

std::string JsonTextProblem(const std::string& bytes);
