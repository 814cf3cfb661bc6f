#include "app/recovery_message.h"

#include <algorithm>
#include "disk/text_encoding.h"

namespace lumbra {

std::string MarkupLiteral(const std::string& text) {
    std::string literal;
    literal.reserve(text.size());
    for (char c : text) {
        if (c == '<') literal += "&lt;";
        else if (c == '&') literal += "&amp;";
        else if (c == '\r' || c == '\n' || c == '\t') literal += ' ';
        else literal += c;
    }
    return literal;
}

std::string HostPathMarkup(const std::string& path) { return MarkupLiteral(Utf8ToLatin1Display(path)); }

std::string DestinationNotWritableText(const std::string& folder, const std::string& reason) {
    return "No file can be created in the destination folder " + HostPathMarkup(folder) + " :\r\n" +
           MarkupLiteral(reason);
}

MessageKind RecoveryRunMessageKind(const RecoveryRunResult& run) {
    return run.damaged > 0 || run.cutShort > run.summary.stopCutShort || run.summary.failed > 0 ? MessageKind::Warning
                                                                                                 : MessageKind::Information;
}

std::string RecoveryRunMessage(const RecoveryRunResult& run, const std::string& destination) {
    const SaveSummary& summary = run.summary;
    std::string text = run.summary.stopped ? "Recovery stopped.\n" : "Recovery finished.\n";
    text += std::to_string(summary.saved - std::min(summary.saved, summary.stopCutShort)) + " file(s) saved, " + std::to_string(summary.skipped - summary.empty) +
            " skipped, " + std::to_string(summary.failed) + " failed.\n";
    if (summary.empty > 0) text += std::to_string(summary.empty) + " empty file(s) are not written\n";
    if (summary.stopped) {
        if (summary.stopCutShort > 0) text += "The file being saved at the stop was cut short and is not counted as saved.\n";
        text += std::to_string(run.notReached) + " file(s) not reached.\n";
    }
    text += std::to_string(run.cutShort) + " file(s) cut short, " + std::to_string(run.damaged) +
            " file(s) damaged (unreadable parts are zeros).\n";
    text += "Destination: " + HostPathMarkup(destination) + "\n";
    if (const auto& refused = summary.refused)
        text += HostPathMarkup(ReplacesInputText(refused->path, refused->input)) + "\n";
    if (run.report) text += "Report: " + HostPathMarkup(run.report->xml) + " and " + HostPathMarkup(run.report->csv);
    else if (run.reportError) text += "The report could not be written: " + HostPathMarkup(*run.reportError);
    return text;
}

}  // namespace lumbra
