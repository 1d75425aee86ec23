#include "settings/PrivateProfile.h"

#include "settings/AtomicFile.h"

#include <utility>

namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// [begin, end) of s without surrounding spaces and tabs.
std::string Trimmed(const std::string& s, std::size_t begin, std::size_t end)
{
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

bool HasLineBreakOrNul(const std::string& s)
{
    return s.find_first_of(std::string("\r\n\0", 3)) != npos;
}

bool HasOuterBlanks(const std::string& s)
{
    return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

bool IsBlankLine(const std::string& text)
{
    for (char c : text)
        if (!IsBlank(c))
            return false;
    return true;
}

}  // namespace

PrivateProfile::PrivateProfile(std::string path) : m_path(std::move(path)) {}

void PrivateProfile::Load()
{
    std::string content;
    const AtomicFile::ReadStatus status = AtomicFile::Read(m_path, kMaxFileBytes, content);
    m_unreadable = status == AtomicFile::ReadStatus::Unreadable;
    m_changed = false;
    Parse(content);
}

void PrivateProfile::Parse(const std::string& content)
{
    m_lines.clear();
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t newline = content.find('\n', start);
        if (newline == npos) {
            m_lines.push_back(ParseLine(content.substr(start), ""));
            break;
        }
        std::size_t end = newline;
        const bool crlf = end > start && content[end - 1] == '\r';
        if (crlf)
            --end;
        m_lines.push_back(ParseLine(content.substr(start, end - start), crlf ? "\r\n" : "\n"));
        start = newline + 1;
    }
}

PrivateProfile::Line PrivateProfile::ParseLine(std::string text, std::string ending)
{
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    const std::string& t = line.text;
    std::size_t first = 0;
    while (first < t.size() && IsBlank(t[first]))
        ++first;
    if (first == t.size() || t[first] == ';')
        return line;
    if (t[first] == '[') {
        const std::size_t close = t.find(']', first + 1);
        line.kind = LineKind::Section;
        line.name = Trimmed(t, first + 1, close == npos ? t.size() : close);
        return line;
    }
    const std::size_t equals = t.find('=', first);
    if (equals == npos)
        return line;
    line.name = Trimmed(t, first, equals);
    if (line.name.empty())
        return line;
    line.kind = LineKind::Key;
    line.valueAt = equals + 1;
    while (line.valueAt < t.size() && IsBlank(t[line.valueAt]))
        ++line.valueAt;
    return line;
}

std::size_t PrivateProfile::FindSection(const std::string& section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == LineKind::Section && SameName(m_lines[i].name, section))
            return i;
    return npos;
}

std::size_t PrivateProfile::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

std::size_t PrivateProfile::FindKey(std::size_t header, const std::string& key) const
{
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == LineKind::Key && SameName(m_lines[i].name, key))
            return i;
    return npos;
}

std::string PrivateProfile::Get(const std::string& section, const std::string& key,
                                std::size_t bufferSize) const
{
    const std::size_t header = FindSection(section);
    const std::size_t at = header == npos ? npos : FindKey(header, key);
    if (at == npos || bufferSize == 0)
        return {};
    const Line& line = m_lines[at];
    std::string value = Trimmed(line.text, line.valueAt, line.text.size());
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    const std::size_t nul = value.find('\0');
    if (nul != npos)
        value.resize(nul);
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool PrivateProfile::Set(const std::string& section, const std::string& key, const std::string& value)
{
    if (key.empty() || key.find('=') != npos || key.front() == '[' || key.front() == ';' ||
        section.find(']') != npos || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
        HasLineBreakOrNul(value) || HasOuterBlanks(section) || HasOuterBlanks(key))
        return false;

    std::size_t header = FindSection(section);
    if (header == npos) {
        if (!m_lines.empty() && !IsBlankLine(m_lines.back().text))
            InsertLine(m_lines.size(), "");
        header = m_lines.size();
        InsertLine(header, "[" + section + "]");
    }
    const std::size_t at = FindKey(header, key);
    if (at != npos) {
        Line& line = m_lines[at];
        const std::string text = line.text.substr(0, line.valueAt) + value;
        if (text != line.text) {
            line.text = text;
            m_changed = true;
        }
        return true;
    }
    std::size_t last = SectionEnd(header) - 1;
    while (last > header && IsBlankLine(m_lines[last].text))
        --last;
    InsertLine(last + 1, key + "=" + value);
    return true;
}

void PrivateProfile::InsertLine(std::size_t at, const std::string& text)
{
    const std::string ending = NewLineEnding();
    if (at > 0 && m_lines[at - 1].ending.empty())
        m_lines[at - 1].ending = ending;
    Line line = ParseLine(text, ending);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    m_changed = true;
}

std::string PrivateProfile::NewLineEnding() const
{
    for (const Line& line : m_lines)
        if (!line.ending.empty())
            return line.ending;
    return "\n";
}

std::string PrivateProfile::Text() const
{
    std::string text;
    for (const Line& line : m_lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

bool PrivateProfile::Save()
{
    if (m_unreadable)
        return false;
    if (!m_changed)
        return true;
    if (!AtomicFile::Replace(m_path, Text()))
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
