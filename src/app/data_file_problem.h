// Why a JSON data file beside the executable could not be used, for the ERROR line that
// says so: the system's error when it cannot be read, else the parser's message and offset.
#pragma once

#include <string>

std::string DataFileProblem(const std::wstring& path);
