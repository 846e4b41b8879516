// Profile files on the sandbox disk, with the Windows profile semantics.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/profile.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"

namespace platform {
namespace {

using sandbox::Lower;

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// "[name]" opens a section: the trimmed text between the brackets, else nothing.
bool SectionName(const std::string& line, std::string& name) {
    const std::string text = Trim(line);
    if (text.empty() || text.front() != '[') return false;
    const auto close = text.find(']');
    name = Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    return true;
}

struct Location {
    long section = -1;   // line of the section header
    long lastLine = -1;  // last non-blank line of the section
    long key = -1;       // line of the key
    std::string value;
};

Location Find(const std::vector<std::string>& lines, const std::string& section,
              const std::string& key) {
    Location at;
    bool inside = false;
    for (long i = 0; i < static_cast<long>(lines.size()); ++i) {
        std::string name, k, v;
        if (SectionName(lines[i], name)) {
            if (inside) break;
            inside = Lower(name) == Lower(section);
            if (inside) at.section = at.lastLine = i;
        } else if (inside) {
            if (!Trim(lines[i]).empty()) at.lastLine = i;
            if (KeyOf(lines[i], k, v) && Lower(k) == Lower(key)) {
                at.key = i;
                at.value = v;
                return at;
            }
        }
    }
    return at;
}

}  // namespace

std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultText, char* buffer,
                                       std::uint32_t size, const std::string& file) {
    if (size == 0) return 0;
    std::string text = defaultText.substr(0, defaultText.find_last_not_of(' ') + 1);
    if (const auto bytes = sandbox::ReadFile(file)) {
        const Location at = Find(Lines(*bytes), section, key);
        if (at.key >= 0) text = Unquote(Trim(at.value));
    }
    const auto n = static_cast<std::uint32_t>(std::min<size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file) {
    const auto host = sandbox::HostPath(file);
    std::error_code ec;
    if (host.empty() || !std::filesystem::is_directory(host.parent_path(), ec) ||
        sandbox::IsWriteDenied(file))
        return false;
    sandbox::TheMachine().journal.push_back("profile " + file + " " + key);
    std::vector<std::string> lines;
    if (const auto bytes = sandbox::ReadFile(file)) lines = Lines(*bytes);
    const Location at = Find(lines, section, key);
    const std::string entry = key + "=" + value;
    if (at.key >= 0) {
        lines[at.key] = entry;
    } else if (at.section >= 0) {
        lines.insert(lines.begin() + at.lastLine + 1, entry);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace platform
