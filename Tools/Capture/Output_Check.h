#pragma once

// Outputs written only when the show has ended are checked before it starts,
// so that a wrong path costs nothing.

#include <string>

// Throws unless the file can be created or overwritten.
void Check_Writable_File(const std::string& path);
// Throws unless the directory exists and files can be made in it.
void Check_Writable_Directory(const std::string& path);
