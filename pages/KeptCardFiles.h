#pragma once
// The camera's files during one format of its card: setup.cfg, default.cfg and lang\ver.dat are
// copied to the program's folder before the format and back afterwards. Portable: the file
// system is reached through CardFileSystem, which the window layer answers with the platform's
// calls and tests answer with a fake.

#include <string>
#include <vector>

namespace cardformat {

// The few file operations that keeping the camera's files needs.
class CardFileSystem {
public:
    virtual ~CardFileSystem() = default;
    // True only when the file is known to be absent (not found, or its folder not found); a file
    // that cannot be looked at for another reason counts as present.
    virtual bool IsMissing(const std::wstring& path) = 0;
    // Copies a file over another; 0 on success, else the system's error code.
    virtual unsigned long Copy(const std::wstring& from, const std::wstring& to) = 0;
    // True when both files can be read and hold the same bytes.
    virtual bool SameBytes(const std::wstring& first, const std::wstring& second) = 0;
    // Makes a folder; an existing folder, or one that cannot be made, is no error here.
    virtual void MakeFolder(const std::wstring& path) = 0;
};

// Each camera file's place on the card and in the program's folder, and whether this format
// saved it. Only what this format saved goes back, so copies left in the program's folder by a
// format of another card never land on this one.
class KeptCardFiles {
public:
    // cardRoot and programFolder end with a backslash.
    KeptCardFiles(CardFileSystem& files, const std::wstring& cardRoot, const std::wstring& programFolder);

    // Copies each file on the card over its copy in the program's folder. A file that is not on
    // the card is skipped; false when one that is could not be copied, since formatting would
    // then lose it.
    bool Save();

    // Makes the card root and its language folder again and copies back what Save copied. False
    // when one could not be copied back: its copy stays in the program's folder.
    bool Restore() const;

    // True when every file this format saved is on the card with the very bytes saved: a
    // format that failed before it reached them left them where they were.
    bool AllStillOnCard() const;

private:
    struct Entry {
        std::wstring card;
        std::wstring saved;
        bool bSaved = false;
    };
    CardFileSystem& m_files;
    std::wstring m_strCardRoot;
    std::vector<Entry> m_arrFiles;
};

}  // namespace cardformat
