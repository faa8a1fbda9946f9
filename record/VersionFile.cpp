#include "record/VersionFile.h"

#include <array>
#include <utility>

#include "record/TextUtil.h"

namespace {

constexpr std::array<std::pair<std::wstring_view, VersionLineKind>, 4> LINE_KEYS = {{
    {L"Ver", VersionLineKind::Ver},
    {L"Pack Name", VersionLineKind::PackName},
    {L"Code", VersionLineKind::Code},
    {L"Device", VersionLineKind::Device},
}};

}  // namespace

VersionLineKind ClassifyVersionLine(std::wstring_view line) {
    for (const auto& [key, kind] : LINE_KEYS) {
        const size_t pos = line.find(key);
        if (pos != std::wstring_view::npos && pos >= 1) return kind;
    }
    return VersionLineKind::None;
}

std::wstring VersionLineValue(std::wstring_view line) {
    const std::vector<std::wstring_view> runs = textutil::SplitRuns(line, L':');
    if (runs.size() < 2) return {};
    return std::wstring(textutil::Trim(runs[1]));
}

VersionFileContent ParseVersionFile(std::wstring_view text) {
    VersionFileContent content;
    bool codeLineSeen = false;
    for (std::wstring_view line : textutil::SplitRuns(text, L'\n')) {
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        if (line.empty()) continue;
        switch (ClassifyVersionLine(line)) {
        case VersionLineKind::Ver: content.ver = VersionLineValue(line); break;
        case VersionLineKind::PackName: content.packName = VersionLineValue(line); break;
        case VersionLineKind::Device: content.device = VersionLineValue(line); break;
        case VersionLineKind::Code:
            if (!codeLineSeen) {
                codeLineSeen = true;
                const std::wstring codes = VersionLineValue(line);
                for (std::wstring_view code : textutil::SplitRuns(codes, L' ')) {
                    content.langCodes.emplace_back(code);
                }
            }
            break;
        case VersionLineKind::None: break;
        }
    }
    return content;
}
