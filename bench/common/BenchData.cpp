#include "bench/common/BenchData.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "localisation/IniText.h"
#include "localisation/LanguageFileSource.h"

namespace bench {

const std::array<std::wstring_view, 11> LANGUAGE_NAMES = {
    L"english", L"korean",   L"french",   L"spanish",    L"chinesesimplified", L"chinesetraditional",
    L"german",  L"italian", L"japanese", L"portuguese", L"russian"};

int LoadAllLanguageFiles() {
    int parsed = 0;
    for (std::wstring_view name : LANGUAGE_NAMES) {
        const std::optional<localisation::LanguageFileBytes> bytes = localisation::FindLanguageFile(name);
        if (!bytes) continue;
        CIniText text;
        if (text.LoadFromMemory(bytes->data(), bytes->size()) && text.HasDefaultSection()) ++parsed;
    }
    return parsed;
}

namespace {

TimeZoneValue Text(const wchar_t* name, const std::wstring& text) {
    TimeZoneValue value{name, {}};
    for (wchar_t ch : text + L'\0') {
        value.bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
        value.bytes.push_back(static_cast<uint8_t>((ch >> 8) & 0xFF));
    }
    return value;
}

// The registry's TZI layout: bias, standard bias, daylight bias (UTC minus local, minutes),
// then the two change dates; only the months are filled in.
TimeZoneValue Tzi(int32_t bias) {
    TimeZoneValue value{L"TZI", std::vector<uint8_t>(44)};
    const int32_t fields[3] = {bias, 0, -60};
    for (size_t field = 0; field < 3; ++field) {
        for (size_t i = 0; i < 4; ++i) {
            value.bytes[4 * field + i] = static_cast<uint8_t>(static_cast<uint32_t>(fields[field]) >> (8 * i));
        }
    }
    value.bytes[12 + 2] = 10;
    value.bytes[28 + 2] = 3;
    return value;
}

}  // namespace

MadeUpCatalogue MakeCatalogue(int count) {
    MadeUpCatalogue catalogue;
    for (int i = 0; i < count; ++i) {
        // Every tenth key carries an excluded prefix, as a real list holds a few such zones.
        const std::wstring place = (i % 10 == 3 ? std::wstring(EXCLUDED_ZONE_PREFIXES[static_cast<size_t>(i / 10) %
                                                                                     EXCLUDED_ZONE_PREFIXES.size()])
                                                : L"Region " + std::to_wstring(i));
        const std::wstring key = place + L" Standard Time";
        // Biases from -840 (UTC+14) to +720 (UTC-12), in steps of 15 minutes, repeating.
        const int32_t bias = -840 + 15 * ((i * 7) % 105);
        const int hours = -bias / 60;
        const std::wstring offset = (hours < 0 ? L"-" : L"+") + std::to_wstring(std::abs(hours));
        catalogue.keyNames.push_back(key);
        catalogue.values[key] = {Text(L"Display", L"(UTC" + offset + L") " + place), Text(L"Std", key),
                                 Text(L"Dlt", place + L" Daylight Time"), Tzi(bias)};
    }
    return catalogue;
}

TimeZoneValueReader MadeUpCatalogue::Reader() const {
    return [this](const std::wstring& keyName) {
        const auto found = values.find(keyName);
        return found == values.end() ? std::vector<TimeZoneValue>{} : found->second;
    };
}

Summary Summarise(std::vector<double> milliseconds) {
    Summary summary;
    summary.count = milliseconds.size();
    if (milliseconds.empty()) return summary;
    std::sort(milliseconds.begin(), milliseconds.end());
    const size_t n = milliseconds.size();
    summary.median = n % 2 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2;
    const auto rank = static_cast<size_t>(std::ceil(0.9 * static_cast<double>(n)));
    summary.p90 = milliseconds[std::max<size_t>(rank, 1) - 1];
    summary.minimum = milliseconds.front();
    return summary;
}

}  // namespace bench
