#pragma once
// What the program says of itself: in the windows' About box and in log2plt --version and --help.

#include <string>

namespace log2plt::about {

inline constexpr char16_t kProgramName[] = u"log2plt";
inline constexpr char16_t kProgramDescription[] =
    u"Converts GPS track logs (*.log) to OziExplorer 2.1 track files (*.plt).";
inline constexpr char16_t kLicenceName[] = u"MIT License";
inline constexpr char16_t kCopyright[] = u"Copyright (c) 2026 the log2plt authors";

// "log2plt VERSION", as --version prints it first.
std::u16string NameAndVersion();
// The About box: the name and version, the description, the licence and the copyright.
std::u16string AboutText();

}  // namespace log2plt::about
