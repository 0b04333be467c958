#pragma once
// The check log VBKEMPT3.LOG: for every selected file the source lines longer than 223 characters,
// written into the output directory before any file is formatted.

#include "platform/TextFile.h"

#include <functional>
#include <string>
#include <vector>

namespace kemptor {

class Prompter;

inline constexpr const char* kCheckLogName = "VBKEMPT3.LOG";
inline constexpr size_t kCheckLineLimit = 223; // longer lines are listed

struct CheckLogFile {
    std::string fileName; // name shown in the log
    std::string fullPath; // where the source is read
};

// The lines of the log for the given files, without the time stamps' lines; false in `complete` when a
// source could not be read (the lines up to that file are returned).
TextLines CheckLogBody(const std::vector<CheckLogFile>& files, bool* complete = nullptr);

// Writes outputDir + "VBKEMPT3.LOG" (replacing it, atomically): the start line, the body, the end line.
// A source that cannot be read or a log that cannot be written ends the log there and shows "Error
// while creating log file."; false in that case. `now` gives the date-and-time text of the two stamps.
bool WriteCheckLog(const std::string& outputDir, const std::vector<CheckLogFile>& files, Prompter& prompter,
                   const std::function<std::string()>& now);

// The current local date and time: short date, a blank, long time.
std::string CurrentDateTimeText();

} // namespace kemptor
