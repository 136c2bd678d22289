#pragma once

#include <string>

// Whether a program found in a folder may be started as this user, much as ssh treats its
// own files: the folder that names it, the file it is after symbolic links and the folder
// holding that file must each belong to this user or to root and be writable by nobody
// else. Otherwise anyone who may write one of them could have their own program run in
// its place.
class ProgramTrust {
  public:
    // Why the program at path may not be started, naming the file at fault; empty when it
    // may. A program that does not exist has nothing to distrust: starting it fails anyway.
    static std::string Problem(const std::string& path);
};
