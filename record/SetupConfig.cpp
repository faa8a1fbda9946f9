#include "record/SetupConfig.h"

#include "platform/AnsiCodePage.h"

SetupConfig* g_pSetupConfig = nullptr;

namespace {

// Owns what g_pSetupConfig points to; the raw pointer is the name every page uses.
std::unique_ptr<SetupConfig>& LiveRecordOwner() {
    static std::unique_ptr<SetupConfig> owner;
    return owner;
}

}  // namespace

SetupConfig* CreateLiveRecord() {
    ReplaceLiveRecord(std::make_unique<SetupConfig>());  // value-initialised: all zero
    return g_pSetupConfig;
}

void ReplaceLiveRecord(std::unique_ptr<SetupConfig> record) {
    LiveRecordOwner() = std::move(record);
    g_pSetupConfig = LiveRecordOwner().get();
}

void FreeLiveRecord() { ReplaceLiveRecord(nullptr); }

std::wstring ProductNameText(const SetupConfig& record) {
    return platform::AnsiFieldToWide(record.product_name, sizeof(record.product_name));
}
