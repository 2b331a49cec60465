// Texts that go into fixed buffers: formatted without trusting the format, and cut, never
// overflowing.
#pragma once

#include <cstddef>
#include <string>

// `text` cut to fit a buffer of `buffer_size` characters, terminator included; a surrogate
// pair is never split.
std::wstring CutToBuffer(const std::wstring& text, size_t buffer_size);
// The first "%s" of a translated `format` replaced by `argument`; any other directive is kept
// as plain text (a translation cannot make it read arguments that are not there). Cut as
// CutToBuffer does.
std::wstring FormatBounded(const std::wstring& format, const std::wstring& argument,
                           size_t buffer_size);
