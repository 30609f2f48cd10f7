#pragma once

#include <string>
#include <vector>

namespace unlha {

// A command line as the archive layer builds it:
//   x -+ [switches] [user options] "archive" "folder\" "name" ... [user file list]
// Items are decoded from CP932; paths are turned to "/" form. The first item after the
// archive that ends in "\" (or "/") is the folder; every other item is a name.
struct Command {
    char letter = 0;
    std::vector<std::string> switches; // "-r2", "-z" (the "-+" marker is dropped)
    std::string archive;
    std::string folder; // "" when none was given
    bool hasFolder = false;
    std::vector<std::string> names; // as given, "\" kept
};

// False (with a reason in UTF-8) when the line is empty, has no archive, an unclosed
// quote or bytes that are not CP932.
bool ParseCommand(const std::string& line, Command* command, std::string* error);

// "\" turned into "/".
std::string ToSlashes(std::string path);

// True when the switches hold one that starts with the given text ("-z").
bool HasSwitch(const Command& command, const char* prefix);

} // namespace unlha
