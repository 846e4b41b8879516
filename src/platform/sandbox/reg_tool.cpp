// The sandbox's stand-in for the REG tool: "REG EXPORT <key> <file> [/y]" writes the key
// from the sandbox registry into a .reg file, with the real tool's argument rules and exit
// codes, so that what the system gets right or wrong about them shows in the tests.
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "base/text.h"

namespace sandbox {
namespace {

constexpr std::uint32_t kExitSuccess = 0;
constexpr std::uint32_t kExitFailure = 1;

// The arguments of a command line as the C runtime of a Windows program splits it: blanks
// and tabs outside quotes separate; 2n backslashes before a quote give n and the quote
// toggles quoting, 2n+1 give n and a literal quote; a doubled quote inside quotes is one.
std::vector<std::string> SplitArguments(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false, quoted = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) arguments.push_back(std::exchange(current, {}));
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t backslashes = 0;
            while (i < commandLine.size() && commandLine[i] == '\\') {
                ++backslashes;
                ++i;
            }
            const bool beforeQuote = i < commandLine.size() && commandLine[i] == '"';
            current.append(beforeQuote ? backslashes / 2 : backslashes, '\\');
            if (beforeQuote && backslashes % 2 == 1) {
                current += '"';
            } else {
                --i;  // the quote (or whatever follows) is looked at on its own
            }
        } else if (c == '"') {
            if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else {
            current += c;
        }
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

bool IsRegProgram(const std::string& program) {
    const auto slash = program.find_last_of("\\/");
    const std::string name = program.substr(slash == std::string::npos ? 0 : slash + 1);
    return base::EqualsNoCase(name, "reg") || base::EqualsNoCase(name, "reg.exe");
}

struct Root {
    const char* shortName;
    const char* longName;
    platform::RootKey key;
};
constexpr Root kRoots[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", platform::kHkeyClassesRoot},
    {"HKCU", "HKEY_CURRENT_USER", platform::kHkeyCurrentUser},
    {"HKLM", "HKEY_LOCAL_MACHINE", platform::kHkeyLocalMachine},
    {"HKU", "HKEY_USERS", platform::kHkeyUsers},
    {"HKCC", "HKEY_CURRENT_CONFIG", platform::kHkeyCurrentConfig},
};

// The key named by REG's argument ("HKLM\Software\..."), its full name for the file in
// `fullName`; null when it does not exist.
std::shared_ptr<RegKeyNode> FindExportedKey(const std::string& argument, std::string& fullName) {
    const auto slash = argument.find('\\');
    const std::string rootName = argument.substr(0, slash);
    for (const Root& root : kRoots) {
        if (!base::EqualsNoCase(rootName, root.shortName) &&
            !base::EqualsNoCase(rootName, root.longName))
            continue;
        auto node = TheMachine().roots.at(root.key);
        fullName = root.longName;
        if (slash == std::string::npos) return node;
        size_t begin = slash + 1;
        while (begin < argument.size()) {
            const size_t end = std::min(argument.find('\\', begin), argument.size());
            const auto it = node->subkeys.find(argument.substr(begin, end - begin));
            if (end == begin || it == node->subkeys.end()) return nullptr;
            node = it->second;
            fullName += "\\" + it->first;
            begin = end + 1;
        }
        return node;
    }
    return nullptr;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// Little-endian UTF-16, as the real tool writes the file and the string types' bytes.
std::string Utf16Bytes(const std::string& text) {
    std::string bytes;
    for (const char16_t unit : base::Utf16FromUtf8(text)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// The bytes as the real tool lists them: two hex digits each, at most 25 to a line, a line
// continued with a backslash and the next indented by two blanks.
std::string Hex(const std::string& bytes) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i > 0) text += i % 25 == 0 ? ",\\\r\n  " : ",";
        text += byte;
    }
    return text;
}

// One value line as the registry editor writes it: strings quoted, DWORDs as "dword:",
// everything else (expandable and multiple strings too) as bytes.
std::string ValueLine(const RegValueEntry& value) {
    std::string line = value.name.empty() ? "@=" : Quoted(value.name) + "=";
    if (value.type == platform::kRegSz) {
        std::string text = value.data;
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return line + Quoted(text);
    }
    if (value.type == platform::kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | static_cast<unsigned char>(value.data[i]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", number);
        return line + text;
    }
    const bool text = value.type == platform::kRegExpandSz || value.type == platform::kRegMultiSz;
    char type[16];
    std::snprintf(type, sizeof type,
                  value.type == platform::kRegBinary ? "hex:" : "hex(%x):", value.type);
    return line + type + Hex(text ? Utf16Bytes(value.data) : value.data);
}

// The key, then each subkey in name order, each with its values in their order.
void WriteKey(const RegKeyNode& node, const std::string& fullName, std::string& text) {
    text += "[" + fullName + "]\r\n";
    for (const auto& value : node.values)
        text += ValueLine(value) + "\r\n";
    text += "\r\n";
    for (const auto& [name, subkey] : node.subkeys)
        WriteKey(*subkey, fullName + "\\" + name, text);
}

// The file's path with its folder in the long form: the sandbox's files are found by their
// long names, where Windows takes 8.3 names as well.
std::string LongFolderForm(const std::string& file) {
    const auto slash = file.find_last_of('\\');
    if (slash == std::string::npos) return file;
    std::string path = platform::LongPathName(file.substr(0, slash + 1));
    if (path.empty()) return file;
    if (path.back() != '\\') path += '\\';
    return path + file.substr(slash + 1);
}

bool FileExists(const std::string& path) {
    return platform::GetAttributes(path) != platform::kInvalidFileAttributes;
}

std::uint32_t Export(const std::vector<std::string>& arguments) {
    const bool overwrite = arguments.size() == 5 && base::EqualsNoCase(arguments[4], "/y");
    if (arguments.size() != 4 && !overwrite) return kExitFailure;  // "Invalid syntax"
    std::string fullName;
    const auto key = FindExportedKey(arguments[2], fullName);
    const std::string file = LongFolderForm(arguments[3]);
    if (!key || !MayWrite(file) || (FileExists(file) && !overwrite)) return kExitFailure;
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    WriteKey(*key, fullName, text);
    return WriteHostFile(HostPath(file), "\xFF\xFE" + Utf16Bytes(text)) ? kExitSuccess
                                                                        : kExitFailure;
}

}  // namespace

ProcessOutcome RunRegTool(const std::string& commandLine) {
    const auto arguments = SplitArguments(commandLine);
    if (arguments.empty() || !IsRegProgram(arguments[0]))
        return ProcessOutcome::FailsToStart(platform::kErrorFileNotFound);
    if (arguments.size() < 2 || !base::EqualsNoCase(arguments[1], "EXPORT"))
        return ProcessOutcome::EndsWith(kExitFailure);
    return ProcessOutcome::EndsWith(Export(arguments));
}

}  // namespace sandbox
