#include "run/CheckLog.h"

#include "platform/Host.h"
#include "platform/Prompter.h"

#include <ctime>

namespace kemptor {

TextLines CheckLogBody(const std::vector<CheckLogFile>& files, bool* complete) {
    TextLines log;
    if (complete)
        *complete = true;
    for (const auto& file : files) {
        log.push_back("+++ Processing file: " + file.fileName);
        // Lines end at CR LF, LF or a lone CR; a last line without a line end counts in full.
        const auto lines = ReadTextLines(file.fullPath);
        if (!lines) {
            if (complete)
                *complete = false;
            return log;
        }
        for (size_t i = 0; i < lines->size(); ++i) {
            const std::string& line = (*lines)[i];
            if (line.size() > kCheckLineLimit)
                log.push_back("Check Line #" + std::to_string(i + 1) + "-->" + line);
        }
        log.push_back("--- End of file: " + file.fileName);
    }
    return log;
}

bool WriteCheckLog(const std::string& outputDir, const std::vector<CheckLogFile>& files, Prompter& prompter,
                   const std::function<std::string()>& now) {
    TextLines log{"*** Project processing started at: " + now()};
    bool complete = true;
    TextLines body = CheckLogBody(files, &complete);
    log.insert(log.end(), std::make_move_iterator(body.begin()), std::make_move_iterator(body.end()));
    if (complete)
        log.push_back("*** Project processing completed at: " + now());
    const bool written = WriteTextLinesAtomic(outputDir + kCheckLogName, log);
    if (!complete || !written) {
        prompter.Show(PromptKind::None, "Error while creating log file.", PromptButtons::Ok);
        return false;
    }
    return true;
}

std::string CurrentDateTimeText() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = host::LocalTime(now);
    char text[64];
    const size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, length);
}

} // namespace kemptor
