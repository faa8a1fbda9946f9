// recover: puts back a card's settings from the copy that a save cut short left on this PC,
// and the notice that every other command gives while such a copy waits.

#include <iostream>
#include <optional>

#include <nlohmann/json.hpp>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/InterruptedSaves.h"
#include "platform/SaveCopyFolder.h"
#include "record/GuardedSave.h"

using Json = nlohmann::ordered_json;

namespace {

// Where this card's copy is kept (named after the card, so no need to read it).
std::string CopyPathText(const CCardSession& card) {
    const std::filesystem::path setup(card.PathOf(L"setup.cfg"));
    return PathText(CSaveCopyStore::PathIn(platform::UserSaveCopyFolder(), CardIdentityOf(setup)));
}

std::string Quoted(const std::filesystem::path& root) { return "\"" + PathText(root) + "\""; }

}  // namespace

const char* InterruptedSaveName(InterruptedSave state) {
    switch (state) {
    case InterruptedSave::None: return "none";
    case InterruptedSave::CutShort: return "cut_short";
    case InterruptedSave::ChangedSince: return "changed_since";
    case InterruptedSave::Unreadable: return "unreadable";
    }
    return "";
}

std::string InterruptedSaveText(InterruptedSave state, const CCardSession& card, const std::filesystem::path& root) {
    const std::string setup = PathText(SetupFilePath(root));
    switch (state) {
    case InterruptedSave::None: return {};
    case InterruptedSave::CutShort:
        return setup + ": a save to this card was cut short (the card pulled or the program stopped mid-save), so "
                       "it may hold a mix of old and new settings; the settings from before are kept in " +
               CopyPathText(card) + ". `dashcfg recover " + Quoted(root) + "` puts them back";
    case InterruptedSave::ChangedSince:
        return setup + ": the settings from before a save that was cut short are kept in " + CopyPathText(card) +
               ", but the card has been written since; `dashcfg recover --force " + Quoted(root) +
               "` would put those older settings back";
    case InterruptedSave::Unreadable:
        return setup + ": a save to this card was cut short and the file cannot be read to compare it with the "
                       "copy kept in " +
               CopyPathText(card);
    }
    return {};
}

InterruptedSave NoticeInterruptedSave(CCardSession& card, const std::filesystem::path& root) {
    const InterruptedSave state = card.FindInterruptedSave();
    if (state != InterruptedSave::None) PrintError(InterruptedSaveText(state, card, root));
    return state;
}

std::optional<std::string> InterruptedSaveRefusal(CCardSession& card, const std::filesystem::path& root, bool force) {
    const InterruptedSave state = card.FindInterruptedSave();
    if (state == InterruptedSave::None) return std::nullopt;
    const std::string text = InterruptedSaveText(state, card, root);
    if (state == InterruptedSave::ChangedSince) {
        PrintError(text);
    } else if (force) {
        PrintError(text + "; --force: going on, and a failure puts back the settings from before that save");
    } else {
        return text + "; nothing was changed (--force writes all the same)";
    }
    return std::nullopt;
}

int RunRecover(const std::string& cardArgument, bool json, bool force) {
    const std::filesystem::path root = CardArgument(cardArgument);
    if (!RequireCardFolder(root)) return static_cast<int>(ExitCode::Unreadable);
    CCardSession card = CardSessionFor(root);
    const std::string setup = PathText(SetupFilePath(root));

    Json report;
    report["card"] = PathText(root);
    // A leftover of a cut-short replace of time.dat is a part of a line: it goes.
    const std::filesystem::path leftover = ClockTemporaryFile(ClockFilePath(root));
    std::error_code error;
    const bool bLeftover = std::filesystem::exists(leftover, error);
    const bool bLeftoverGone = card.RemoveLeftovers();
    report["time_dat_leftover"] = bLeftover ? (bLeftoverGone ? "removed" : "not_removed") : "none";
    if (bLeftover && !json) {
        std::cout << PathText(leftover) << (bLeftoverGone ? ": removed (a part of a clock file a save left)\n"
                                                          : ": a part of a clock file a save left, cannot be removed\n");
    }

    // The copy is read once and everything below works from that reading: a copy file that is
    // there but cannot be read is an error, never "nothing to recover".
    const std::optional<SaveCopy> copyBefore = card.InterruptedSaveCopy();
    const std::string copyPath = CopyPathText(card);
    if (!copyBefore) {
        const std::filesystem::path copyFile = CardArgument(copyPath);
        if (std::filesystem::exists(copyFile, error)) {
            report["found"] = "unreadable_copy";
            report["result"] = "unreadable_copy";
            if (json) std::cout << report.dump(2) << "\n";
            PrintError(PathText(copyFile) + ": the copy kept by a save to this card cannot be read; nothing was changed");
            return static_cast<int>(ExitCode::Unreadable);
        }
    }
    const InterruptedSave state = copyBefore ? card.CompareWithCopy(*copyBefore) : InterruptedSave::None;
    report["found"] = InterruptedSaveName(state);
    report["copy"] = copyBefore ? Json(copyPath) : Json(nullptr);

    auto finish = [&](const char* result, ExitCode code, const std::string& text) {
        report["result"] = result;
        if (json) {
            std::cout << report.dump(2) << "\n";
        } else if (code == ExitCode::Ok) {
            std::cout << text << "\n";
        } else {
            PrintError(text);
        }
        if (bLeftover && !bLeftoverGone && code == ExitCode::Ok) return static_cast<int>(ExitCode::Unwritable);
        return static_cast<int>(code);
    };

    if (state == InterruptedSave::None) {
        if (copyBefore) {
            return finish("copy_dropped", ExitCode::Ok,
                          setup + ": nothing to recover: the card holds a whole record (the save ended before it "
                                  "changed anything, or after it was done); the copy on this PC was removed");
        }
        return finish("nothing_to_recover", ExitCode::Ok,
                      setup + ": nothing to recover: no save to this card was cut short");
    }
    if (state == InterruptedSave::Unreadable) {
        return finish("unreadable", ExitCode::Unreadable,
                      setup + ": cannot be read, nothing was changed; the copy stays in " + copyPath);
    }
    if (state == InterruptedSave::ChangedSince && !force) {
        return finish("refused", ExitCode::InterruptedSave,
                      setup + ": the card has been written since the save that was cut short; nothing was changed "
                              "and the copy stays in " +
                          copyPath + " (--force puts those older settings back)");
    }
    const CardFileStart original = copyBefore->original;
    const CCardFileManager::PutBackResult putBack = card.PutBackCopy(*copyBefore);
    if (putBack == CCardFileManager::PutBackResult::Unsure) {
        return finish("put_back_unsure", ExitCode::Ok,
                      setup + ": the settings from before the save that was cut short read back from the card, "
                              "but the card reported an error while they were written; the copy stays in " +
                          copyPath + " until the card is seen to hold them (run `dashcfg recover` again)");
    }
    if (putBack == CCardFileManager::PutBackResult::Failed) {
        return finish("failed", ExitCode::Unwritable,
                      setup + ": the previous settings could not be put back (is the card write-protected?); the "
                              "copy stays in " +
                          copyPath);
    }
    report["setup_cfg"] = {{"existed", original.exists}, {"length", original.length},
                           {"bytes_put_back", original.bytes.size()}};
    if (!original.exists) {
        return finish("put_back", ExitCode::Ok,
                      setup + ": removed, as there was none before the save that was cut short (checked); the copy "
                              "on this PC was removed");
    }
    return finish("put_back", ExitCode::Ok,
                  setup + ": the settings from before the save that was cut short are back: " +
                      std::to_string(original.bytes.size()) + " bytes over the start, the file " +
                      std::to_string(original.length) +
                      " bytes long as before (read back and compared); the copy on this PC was removed");
}
