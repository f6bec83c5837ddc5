// The program's own argument vector and location, and the names of its data files derived from the
// program file's name ("kestrano" gives "kestrano.cfg", "kestrano.log").
#pragma once

#include "config/Path.h"
#include "foundation/String.h"

#include <cstdint>

namespace haspel {

// main hands its argument vector over before anything asks for it; the texts are copied. Without a
// hand-over (or after one with no arguments) the vector is read from /proc/self/cmdline.
void SetApplicationArguments(int argc, const char* const* argv);
int32_t GetApplicationArgumentCount();
const char* GetApplicationArgument(int32_t index); // nullptr outside 0..count-1

// The program file as started: argv[0] made absolute (a bare name, found through PATH, is taken
// from the folder of the running executable). No components when argv[0] names no file.
Path GetApplicationPath();
// GetApplicationPath without its last component.
Path GetApplicationDirectory();
// The Documents folder (created when missing), else the program's folder.
Path GetDocumentsOrApplicationDirectory();
// Points folder at $XDG_CONFIG_HOME/Tormalind/applicationName, the configuration folder of the program
// so named, without making it; createBase makes $XDG_CONFIG_HOME itself when missing. False leaves
// folder unchanged: there is no $XDG_CONFIG_HOME (or home folder), or it is missing and not made.
bool SetToConfigurationFolder(Path& folder, const char* applicationName, bool createBase);

// Cuts name at its first dot, then appends "." and extension (one leading dot of it skipped).
void SetExtension(String& name, const char* extension);
// directory joined with the program file's name carrying extension; throws EIllegalState when the
// program path names no file.
Path CreateApplicationLikePath(const Path& directory, const char* extension);
void CreateApplicationLikePathInternal(Path& path, const char* extension);

} // namespace haspel
