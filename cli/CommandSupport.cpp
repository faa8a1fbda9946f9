#include "cli/CommandSupport.h"

#include <cstdio>
#include <iostream>

#include "cli/Utf8.h"

std::filesystem::path CardArgument(const std::string& argument) {
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(argument));
#else
    return std::filesystem::path(argument);  // the bytes as the shell gave them
#endif
}

void PrintError(const std::string& text) { std::cerr << "dashcfg: " << text << "\n"; }

bool RequireCardFolder(const std::filesystem::path& root) {
    std::error_code error;
    if (std::filesystem::is_directory(root, error)) return true;
    PrintError(PathText(root) + ": no such card folder");
    return false;
}

bool RequireRecord(const RecordFile& file) {
    if (file.loaded) return true;
    PrintError(PathText(file.path) + (file.present ? ": cannot be read" : ": missing") +
               " (the window would start from default.cfg; `dashcfg reset` writes it as setup.cfg)");
    return false;
}

void PrintChanges(std::ostream& out, const std::vector<SettingChange>& changes) {
    if (changes.empty()) out << "  no change\n";
    for (const SettingChange& change : changes) {
        out << "  " << change.field->name << ": " << change.before << " -> " << change.after << "\n";
    }
}

std::string ClockTimeText(const ClockTime& time) {
    char text[64];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
    return text;
}
