#pragma once
// What the tests expect and helpers that several tests share.
#include <windows.h>

#include <string>
#include <vector>

// The two settings blocks on a machine where neither application ever ran:
// the labels alone, 30 and 24 lines.
extern const std::vector<std::string> kPagorinLabels;
extern const std::vector<std::string> kFolvaneLabels;

// The values the system gives this process.
std::string SystemDir();
std::string TempPath();
std::string VersionLine();

void WriteFileText(const std::string& path, const std::string& text);
std::string ReadFileText(const std::string& path);
