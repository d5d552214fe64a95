#pragma once
// Text routines of the class library. Text is single-byte ANSI text.
#include <cstdint>
#include <string>

std::string IntToStr(int64_t value);
std::string UIntToStr(uint64_t value);
// Drops every character of code 0 to 32 from both ends.
std::string Trim(const std::string& text);
// Appends a backslash unless the last character already is one; a backslash
// that is the trail byte of a double-byte character does not count.
std::string IncludeTrailingBackslash(const std::string& text);
// <windows.h> maps this name to GetEnvironmentVariableA/W; ours takes one
// argument, so the macro must not rename it.
#undef GetEnvironmentVariable
// The variable's value of any length; empty text when it is not set.
std::string GetEnvironmentVariable(const std::string& name);
