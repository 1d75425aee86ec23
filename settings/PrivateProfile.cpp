// SPDX-License-Identifier: MIT
#include "settings/PrivateProfile.h"

#include "settings/AtomicFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameName(const char* a, std::size_t size, const std::string& b)
{
    if (size != b.size())
        return false;
    for (std::size_t i = 0; i < size; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// FNV-1a over the lower-case name, continued from `hash`.
std::uint32_t HashName(const char* name, std::size_t size, std::uint32_t hash = 2166136261u)
{
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ std::uint8_t(Lower(name[i]))) * 16777619u;
    return hash;
}

std::uint32_t KeyHash(std::uint32_t sectionHash, const char* key, std::size_t size)
{
    return HashName(key, size, (sectionHash ^ 0xFFu) * 16777619u);
}

bool HasLineBreakOrNul(const std::string& s)
{
    return s.find_first_of(std::string("\r\n\0", 3)) != npos;
}

bool HasOuterBlanks(const std::string& s)
{
    return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

enum class LineKind { Other, Section, Key };

// What one line is, found without copying it: the name without its blanks
// and, for a key, where its value starts (after the blanks behind '=').
struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::size_t nameBegin = 0, nameEnd = 0;
    std::size_t valueAt = 0;
};

void TrimRange(const std::string& t, std::size_t& begin, std::size_t& end)
{
    while (begin < end && IsBlank(t[begin]))
        ++begin;
    while (end > begin && IsBlank(t[end - 1]))
        --end;
}

ParsedLine ParseLine(const std::string& t, std::size_t begin, std::size_t end)
{
    ParsedLine line;
    std::size_t first = begin;
    while (first < end && IsBlank(t[first]))
        ++first;
    if (first == end || t[first] == ';')
        return line;
    if (t[first] == '[') {
        const void* close = std::memchr(t.data() + first + 1, ']', end - first - 1);
        line.kind = LineKind::Section;
        line.nameBegin = first + 1;
        line.nameEnd = close ? std::size_t(static_cast<const char*>(close) - t.data()) : end;
        TrimRange(t, line.nameBegin, line.nameEnd);
        return line;
    }
    const void* equals = std::memchr(t.data() + first, '=', end - first);
    if (!equals)
        return line;
    line.nameBegin = first;
    line.nameEnd = std::size_t(static_cast<const char*>(equals) - t.data());
    TrimRange(t, line.nameBegin, line.nameEnd);
    if (line.nameBegin == line.nameEnd)
        return line;
    line.kind = LineKind::Key;
    line.valueAt = line.nameEnd;
    while (t[line.valueAt] != '=')
        ++line.valueAt;
    ++line.valueAt;
    while (line.valueAt < end && IsBlank(t[line.valueAt]))
        ++line.valueAt;
    return line;
}

bool IsBlankText(const std::string& t, std::size_t begin, std::size_t end)
{
    for (std::size_t i = begin; i < end; ++i)
        if (!IsBlank(t[i]))
            return false;
    return true;
}

// Stable sort of 32-bit-keyed records by their key. A big file goes in two
// radix passes of 16 bits: linear, where a comparison sort of millions of
// lines would hold up the start; the usual small one by comparison, which
// spares it the two 512 KiB tables of counts.
template <typename T>
void SortByHash(std::vector<T>& items)
{
    if (items.size() < 16384) {
        std::stable_sort(items.begin(), items.end(), [](const T& a, const T& b) { return a.hash < b.hash; });
        return;
    }
    std::vector<T> buffer(items.size());
    for (int shift : {0, 16}) {
        std::vector<std::size_t> count(65537, 0);
        for (const T& item : items)
            ++count[((item.hash >> shift) & 0xFFFFu) + 1];
        for (std::size_t i = 1; i < count.size(); ++i)
            count[i] += count[i - 1];
        for (const T& item : items)
            buffer[count[(item.hash >> shift) & 0xFFFFu]++] = item;
        items.swap(buffer);
    }
}

}  // namespace

PrivateProfile::PrivateProfile(std::string path) : m_path(std::move(path)) {}

void PrivateProfile::Load()
{
    const AtomicFile::ReadStatus status = AtomicFile::Read(m_path, kMaxFileBytes, m_text);
    m_unreadable = status == AtomicFile::ReadStatus::Unreadable;
    m_changed = false;
    m_indexed = false;
    m_sections.clear();
    m_keys.clear();
}

PrivateProfile::Span PrivateProfile::LineAt(std::size_t start) const
{
    const void* newline = std::memchr(m_text.data() + start, '\n', m_text.size() - start);
    if (!newline)
        return {start, m_text.size()};
    std::size_t end = std::size_t(static_cast<const char*>(newline) - m_text.data());
    if (end > start && m_text[end - 1] == '\r')
        --end;
    return {start, end};
}

std::size_t PrivateProfile::NextLine(std::size_t start) const
{
    const void* newline = std::memchr(m_text.data() + start, '\n', m_text.size() - start);
    return newline ? std::size_t(static_cast<const char*>(newline) - m_text.data()) + 1 : m_text.size();
}

std::size_t PrivateProfile::PrevLineStart(std::size_t pos) const
{
    // pos is a line start (or the end of the text); step over the previous
    // line's ending, then back to the line break before it.
    std::size_t last = pos - 1;
    if (m_text[last] == '\n') {
        if (last == 0)
            return 0;
        --last;
    }
    const std::size_t newline = m_text.rfind('\n', last);
    return newline == npos ? 0 : newline + 1;
}

void PrivateProfile::BuildIndex() const
{
    if (m_indexed)
        return;
    m_indexed = true;
    m_sections.clear();
    m_keys.clear();
    m_keys.reserve(std::size_t(std::count(m_text.begin(), m_text.end(), '\n')) + 1);
    bool inSection = false;
    std::uint32_t sectionHash = 0;
    const char* text = m_text.data();
    for (std::size_t start = 0, next = 0; start < m_text.size(); start = next) {
        const void* newline = std::memchr(text + start, '\n', m_text.size() - start);
        std::size_t end = newline ? std::size_t(static_cast<const char*>(newline) - text) : m_text.size();
        next = newline ? end + 1 : end;
        if (newline && end > start && text[end - 1] == '\r')
            --end;
        const ParsedLine line = ParseLine(m_text, start, end);
        const char* name = text + line.nameBegin;
        const std::size_t size = line.nameEnd - line.nameBegin;
        if (line.kind == LineKind::Section) {
            inSection = true;
            sectionHash = HashName(name, size);
            m_sections.push_back({sectionHash, std::uint32_t(start)});
        } else if (line.kind == LineKind::Key && inSection) {
            m_keys.push_back({KeyHash(sectionHash, name, size), std::uint32_t(start)});
        }
    }
    SortByHash(m_keys);
}

std::size_t PrivateProfile::FindSection(const std::string& section) const
{
    BuildIndex();
    const std::uint32_t hash = HashName(section.data(), section.size());
    for (const NameAt& at : m_sections) {
        if (at.hash != hash)
            continue;
        const Span span = LineAt(at.start);
        const ParsedLine line = ParseLine(m_text, span.begin, span.end);
        if (SameName(m_text.data() + line.nameBegin, line.nameEnd - line.nameBegin, section))
            return at.start;
    }
    return npos;
}

std::size_t PrivateProfile::SectionEnd(std::size_t header) const
{
    const auto next = std::upper_bound(m_sections.begin(), m_sections.end(), header,
                                       [](std::size_t at, const NameAt& s) { return at < s.start; });
    return next == m_sections.end() ? m_text.size() : next->start;
}

std::size_t PrivateProfile::FindKey(const std::string& section, std::size_t header, const std::string& key) const
{
    const std::size_t end = SectionEnd(header);
    const std::uint32_t hash = KeyHash(HashName(section.data(), section.size()), key.data(), key.size());
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), NameAt{hash, std::uint32_t(header)},
                               [](const NameAt& a, const NameAt& b) {
                                   return a.hash != b.hash ? a.hash < b.hash : a.start < b.start;
                               });
    for (; it != m_keys.end() && it->hash == hash && it->start < end; ++it) {
        const Span span = LineAt(it->start);
        const ParsedLine line = ParseLine(m_text, span.begin, span.end);
        if (SameName(m_text.data() + line.nameBegin, line.nameEnd - line.nameBegin, key))
            return it->start;
    }
    return npos;
}

std::vector<std::string> PrivateProfile::Keys(const std::string& section) const
{
    std::vector<std::string> names;
    const std::size_t header = FindSection(section);
    if (header == npos)
        return names;
    const std::size_t end = SectionEnd(header);
    for (std::size_t start = NextLine(header); start < end; start = NextLine(start)) {
        const Span span = LineAt(start);
        const ParsedLine line = ParseLine(m_text, span.begin, span.end);
        if (line.kind == LineKind::Key)
            names.emplace_back(m_text, line.nameBegin, line.nameEnd - line.nameBegin);
    }
    return names;
}

std::string PrivateProfile::Get(const std::string& section, const std::string& key,
                                std::size_t bufferSize) const
{
    const std::size_t header = FindSection(section);
    const std::size_t at = header == npos ? npos : FindKey(section, header, key);
    if (at == npos || bufferSize == 0)
        return {};
    const Span span = LineAt(at);
    std::size_t begin = ParseLine(m_text, span.begin, span.end).valueAt, end = span.end;
    TrimRange(m_text, begin, end);
    if (end - begin >= 2 && (m_text[begin] == '"' || m_text[begin] == '\'') && m_text[end - 1] == m_text[begin]) {
        ++begin;
        --end;
    }
    const void* nul = std::memchr(m_text.data() + begin, '\0', end - begin);
    if (nul)
        end = std::size_t(static_cast<const char*>(nul) - m_text.data());
    return m_text.substr(begin, std::min(end - begin, bufferSize - 1));
}

bool PrivateProfile::Set(const std::string& section, const std::string& key, const std::string& value)
{
    if (key.empty() || key.find('=') != npos || key.front() == '[' || key.front() == ';' ||
        section.find(']') != npos || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
        HasLineBreakOrNul(value) || HasOuterBlanks(section) || HasOuterBlanks(key))
        return false;
    // Line starts are kept in 32 bits.
    if (m_text.size() + section.size() + key.size() + value.size() + 16 > 0xFFFFFFFFu)
        return false;

    std::size_t header = FindSection(section);
    if (header == npos) {
        if (!m_text.empty()) {
            const Span span = LineAt(PrevLineStart(m_text.size()));
            if (!IsBlankText(m_text, span.begin, span.end))
                InsertLine(m_text.size(), "");
        }
        header = InsertLine(m_text.size(), "[" + section + "]");
    }
    const std::size_t at = FindKey(section, header, key);
    if (at != npos) {
        const Span span = LineAt(at);
        const std::size_t valueAt = ParseLine(m_text, span.begin, span.end).valueAt;
        if (m_text.compare(valueAt, span.end - valueAt, value) != 0) {
            Splice(valueAt, span.end, value);
            m_changed = true;
        }
        return true;
    }
    // After the section's last non-blank line, found from the section's end.
    const std::size_t firstLine = NextLine(header);
    std::size_t insertAt = firstLine;
    for (std::size_t pos = SectionEnd(header); pos > firstLine;) {
        const std::size_t start = PrevLineStart(pos);
        const Span span = LineAt(start);
        if (!IsBlankText(m_text, span.begin, span.end)) {
            insertAt = NextLine(start);
            break;
        }
        pos = start;
    }
    InsertLine(insertAt, key + "=" + value);
    return true;
}

void PrivateProfile::Splice(std::size_t begin, std::size_t end, const std::string& with)
{
    // Nothing starts at the end of the text: a line added there (a list
    // saved one entry after the other) moves no other line.
    const bool atEnd = end == m_text.size();
    m_text.replace(begin, end - begin, with);
    if (atEnd)
        return;
    const std::uint32_t removed = std::uint32_t(end - begin), added = std::uint32_t(with.size());
    for (std::vector<NameAt>* index : {&m_sections, &m_keys})
        for (NameAt& at : *index)
            if (at.start >= end)
                at.start = at.start - removed + added;
}

std::size_t PrivateProfile::InsertLine(std::size_t at, const std::string& text)
{
    BuildIndex();
    const std::string ending = NewLineEnding();
    std::string insert = text + ending;
    std::size_t start = at;
    if (at == m_text.size() && at > 0 && m_text.back() != '\n') {
        insert = ending + insert;
        start += ending.size();
    }
    Splice(at, at, insert);
    m_changed = true;

    const Span span = LineAt(start);
    const ParsedLine line = ParseLine(m_text, span.begin, span.end);
    const char* name = m_text.data() + line.nameBegin;
    const std::size_t size = line.nameEnd - line.nameBegin;
    if (line.kind == LineKind::Section) {
        const NameAt entry{HashName(name, size), std::uint32_t(start)};
        m_sections.insert(std::lower_bound(m_sections.begin(), m_sections.end(), entry,
                                           [](const NameAt& a, const NameAt& b) { return a.start < b.start; }),
                          entry);
    } else if (line.kind == LineKind::Key) {
        // The header of the section this line went into.
        const auto header = std::upper_bound(m_sections.begin(), m_sections.end(), start,
                                             [](std::size_t s, const NameAt& h) { return s < h.start; });
        if (header != m_sections.begin()) {
            const NameAt entry{KeyHash(std::prev(header)->hash, name, size), std::uint32_t(start)};
            m_keys.insert(std::lower_bound(m_keys.begin(), m_keys.end(), entry,
                                           [](const NameAt& a, const NameAt& b) {
                                               return a.hash != b.hash ? a.hash < b.hash : a.start < b.start;
                                           }),
                          entry);
        }
    }
    return start;
}

std::string PrivateProfile::NewLineEnding() const
{
    const std::size_t newline = m_text.find('\n');
    if (newline == npos)
        return "\n";
    return newline > 0 && m_text[newline - 1] == '\r' ? "\r\n" : "\n";
}

void PrivateProfile::StartWithComment(const std::vector<std::string>& lines)
{
    if (!m_text.empty() || m_unreadable || lines.empty())
        return;
    for (const std::string& line : lines)
        m_text += (line.empty() ? ";" : "; " + line) + "\n";
    m_indexed = false;
    m_sections.clear();
    m_keys.clear();
    m_changed = true;
}

bool PrivateProfile::Save()
{
    if (m_unreadable)
        return false;
    if (!m_changed)
        return true;
    if (!AtomicFile::Replace(m_path, m_text))
        return false;
    m_changed = false;
    return true;
}

std::string ReadPrivateProfileString(const std::string& section, const std::string& key,
                                     const std::string& path, std::size_t bufferSize)
{
    PrivateProfile profile(path);
    profile.Load();
    return profile.Get(section, key, bufferSize);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path)
{
    PrivateProfile profile(path);
    profile.Load();
    return profile.Set(section, key, value) && profile.Save();
}
