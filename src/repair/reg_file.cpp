#include "repair/reg_file.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace repair {
namespace {

// Little-endian UTF-16 bytes as UTF-8 text.
std::string Utf8FromUtf16Bytes(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return base::Utf8FromUtf16(units);
}

// The file as UTF-8 text.
std::string FileText(const std::string& bytes) {
    if (bytes.rfind("\xFF\xFE", 0) != 0) return bytes;
    return Utf8FromUtf16Bytes(std::string_view(bytes).substr(2));
}

// The file's lines without their line ends; a value line that ends in a backslash (a long
// list of bytes) is joined with the next, whose indent goes.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = std::min(text.find('\n', begin), text.size());
        std::string_view line(text.data() + begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        current += current.empty() ? std::string(line) : base::Trim(line, " \t");
        if (!current.empty() && current.back() == '\\' && current.front() != '[') {
            current.pop_back();
        } else {
            lines.push_back(std::move(current));
            current.clear();
        }
        begin = end + 1;
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

// A quoted name or string at `at` (on its opening quote), moving `at` past its closing one;
// nothing when it is not closed.
std::optional<std::string> Unquoted(const std::string& line, std::size_t& at) {
    std::string text;
    for (++at; at < line.size(); ++at) {
        char c = line[at];
        if (c == '"') {
            ++at;
            return text;
        }
        if (c == '\\' && at + 1 < line.size()) {
            c = line[++at];
            if (c == 'n')
                c = '\n';
            else if (c == 'r')
                c = '\r';
            else if (c == '0')
                c = '\0';
        }
        text += c;
    }
    return std::nullopt;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "6f,00,6e" as bytes; nothing for anything else.
std::optional<std::string> HexBytes(std::string_view list) {
    std::string bytes;
    for (std::size_t at = 0; at < list.size();) {
        if (at + 2 > list.size()) return std::nullopt;
        const int high = HexDigit(list[at]), low = HexDigit(list[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high << 4 | low);
        at += 2;
        if (at < list.size() && list[at++] != ',') return std::nullopt;
    }
    return bytes;
}

// The data after "=": "text", dword:0000000a, hex:.. or hex(N):..
std::optional<core::RegistryValue> Data(const std::string& line, std::size_t at) {
    core::RegistryValue value;
    if (at < line.size() && line[at] == '"') {
        const auto text = Unquoted(line, at);
        if (!text || at != line.size()) return std::nullopt;
        return core::RegistryValue{platform::kRegSz, *text + '\0'};
    }
    const std::string_view rest = std::string_view(line).substr(at);
    if (rest.rfind("dword:", 0) == 0 && rest.size() == 14) {
        std::uint32_t number = 0;
        for (const char c : rest.substr(6)) {
            const int digit = HexDigit(c);
            if (digit < 0) return std::nullopt;
            number = number << 4 | static_cast<std::uint32_t>(digit);
        }
        for (int byte = 0; byte < 4; ++byte)
            value.data += static_cast<char>(number >> (8 * byte) & 0xFF);
        value.type = platform::kRegDword;
        return value;
    }
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view type = rest.substr(0, colon);
    if (type == "hex") {
        value.type = platform::kRegBinary;
    } else if (type.size() > 5 && type.rfind("hex(", 0) == 0 && type.back() == ')') {
        value.type = 0;
        for (const char c : type.substr(4, type.size() - 5)) {
            const int digit = HexDigit(c);
            if (digit < 0) return std::nullopt;
            value.type = value.type << 4 | static_cast<std::uint32_t>(digit);
        }
    } else {
        return std::nullopt;
    }
    auto bytes = HexBytes(rest.substr(colon + 1));
    if (!bytes) return std::nullopt;
    value.data = std::move(*bytes);
    const bool text = value.type == platform::kRegSz || value.type == platform::kRegExpandSz ||
                      value.type == platform::kRegMultiSz;
    if (text) value.data = Utf8FromUtf16Bytes(value.data);  // UTF-8 for the platform
    return value;
}

}  // namespace

const char* RootKeyLongName(platform::RootKey root) {
    switch (root) {
        case platform::kHkeyClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case platform::kHkeyCurrentUser:
            return "HKEY_CURRENT_USER";
        case platform::kHkeyLocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case platform::kHkeyUsers:
            return "HKEY_USERS";
        case platform::kHkeyCurrentConfig:
            return "HKEY_CURRENT_CONFIG";
        default:
            return "";
    }
}

std::optional<core::RegistryValue> ExportedValue(const std::string& fileBytes,
                                                 platform::RootKey root, const std::string& keyPath,
                                                 const std::string& valueName) {
    const std::string section =
        std::string("[").append(RootKeyLongName(root)).append("\\").append(keyPath).append("]");
    bool inKey = false;
    for (const std::string& line : Lines(FileText(fileBytes))) {
        if (!line.empty() && line.front() == '[') {
            inKey = base::EqualsNoCase(line, section);
            continue;
        }
        if (!inKey || line.empty()) continue;
        std::size_t at = 0;
        std::optional<std::string> name;
        if (line.front() == '@') {
            name = "";
            at = 1;
        } else if (line.front() == '"') {
            name = Unquoted(line, at);
        }
        if (!name || at >= line.size() || line[at] != '=' || !base::EqualsNoCase(*name, valueName))
            continue;
        return Data(line, at + 1);
    }
    return std::nullopt;
}

}  // namespace repair
