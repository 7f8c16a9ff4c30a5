// The walk from paths given from outside to the files they stand for, through folders and lists.
#include "playback/logic/PathExpansion.h"

#include <algorithm>
#include <utility>

#include "playback/logic/ListFile.h"

namespace {

// Names of one file differ at most in case; Windows folds far more than ASCII, but a list that
// names an ancestor in other letters is still stopped by the level limit.
std::wstring FoldedAscii(std::wstring path)
{
    for (wchar_t& c : path) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return path;
}

class Expansion {
public:
    Expansion(PathSource& source, ListFiles lists, const ListLimits& limits)
        : m_source(source), m_lists(lists), m_limits(limits), m_bytesLeft(limits.maxTotalBytes),
          m_entriesLeft(limits.maxEntries)
    {
    }

    // level: that of the list the path was read from, 0 for a path given from outside.
    void Take(std::wstring fullPath, PathSource::Kind kind, int level)
    {
        switch (kind) {
        case PathSource::Kind::Missing:
            break;
        case PathSource::Kind::Folder:
            for (std::wstring& file : m_source.MediaFilesIn(fullPath))
                m_files.push_back(std::move(file));
            break;
        case PathSource::Kind::File: {
            const ListFormat format = ListFormatOf(fullPath);
            if (m_lists == ListFiles::Open && format != ListFormat::None)
                Open(fullPath, format, level + 1);
            else
                m_files.push_back(std::move(fullPath));
            break;
        }
        }
    }

    std::vector<std::wstring> TakeFiles() { return std::move(m_files); }

private:
    void Open(const std::wstring& list, ListFormat format, int level)
    {
        if (level > m_limits.maxLevel || m_bytesLeft == 0 || m_entriesLeft == 0)
            return;
        const std::wstring key = FoldedAscii(list);
        if (std::find(m_chain.begin(), m_chain.end(), key) != m_chain.end())
            return;
        std::string bytes;
        if (!m_source.ReadSmallFile(list, std::min(m_limits.maxListBytes, m_bytesLeft), bytes))
            return;
        m_bytesLeft -= std::min(bytes.size(), m_bytesLeft);
        const ListText text = ReadListText(bytes.data(), bytes.size(), format);
        bytes = std::string();
        m_chain.push_back(key);
        std::wstring wide;
        for (const std::string& entry : text.entries) {
            if (m_entriesLeft == 0)
                break;
            --m_entriesLeft;
            if (text.utf8) {
                if (!Utf8ToUtf16(entry, wide))
                    continue;
            } else {
                wide = m_source.FromAnsi(entry);
            }
            std::wstring path = ResolveListEntry(list, wide);
            if (!path.empty()) {
                const PathSource::Kind kind = m_source.KindOfListed(path);
                Take(std::move(path), kind, level);
            }
        }
        m_chain.pop_back();
    }

    PathSource& m_source;
    const ListFiles m_lists;
    const ListLimits m_limits;
    std::size_t m_bytesLeft;
    std::size_t m_entriesLeft;
    std::vector<std::wstring> m_chain; // the lists being read, outermost first, case folded
    std::vector<std::wstring> m_files;
};

} // namespace

std::vector<std::wstring> ExpandPaths(const std::vector<std::wstring>& given, PathSource& source,
                                      ListFiles lists, const ListLimits& limits)
{
    Expansion expansion(source, lists, limits);
    for (const std::wstring& path : given) {
        if (path.empty())
            continue;
        std::wstring full = source.FullPath(path);
        if (!full.empty()) {
            const PathSource::Kind kind = source.KindOf(full);
            expansion.Take(std::move(full), kind, 0);
        }
    }
    return expansion.TakeFiles();
}
