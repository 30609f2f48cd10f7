#include "unlha32/command_line.h"

#include "unlha32/cp932.h"

#include <cctype>
#include <cstring>

namespace unlha {

std::string ToSlashes(std::string path)
{
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

bool HasSwitch(const Command& command, const char* prefix)
{
    for (const std::string& s : command.switches) {
        if (s.compare(0, std::strlen(prefix), prefix) == 0)
            return true;
    }
    return false;
}

bool ParseCommand(const std::string& line, Command* command, std::string* error)
{
    *command = Command();
    struct Item {
        std::string text;
        bool quoted;
    };
    // Space and double quote never occur inside a CP932 double-byte character, so the
    // bytes can be split before they are decoded.
    std::vector<Item> items;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) {
                *error = "引用符が閉じていません。";
                return false;
            }
            items.push_back({ line.substr(i + 1, end - i - 1), true });
            i = end + 1;
        } else {
            size_t end = line.find_first_of(" \t", i);
            if (end == std::string::npos)
                end = line.size();
            items.push_back({ line.substr(i, end - i), false });
            i = end;
        }
    }
    if (items.empty() || items[0].text.empty()) {
        *error = "コマンドがありません。";
        return false;
    }
    command->letter = static_cast<char>(std::tolower(static_cast<unsigned char>(items[0].text[0])));
    bool haveArchive = false;
    for (size_t k = 1; k < items.size(); ++k) {
        std::string text;
        if (!Cp932ToUtf8(items[k].text, &text)) {
            *error = "コマンドラインに CP932 でない文字があります。";
            return false;
        }
        if (!items[k].quoted && text.size() > 1 && text[0] == '-') {
            if (text != "-+")
                command->switches.push_back(text);
            continue;
        }
        if (text.empty())
            continue;
        if (!haveArchive) {
            command->archive = ToSlashes(text);
            haveArchive = true;
        } else if (!command->hasFolder && command->names.empty()
            && (text.back() == '\\' || text.back() == '/')) {
            std::string folder = ToSlashes(text);
            while (folder.size() > 1 && folder.back() == '/')
                folder.pop_back();
            command->folder = folder == "/" && text.size() == 1 ? "" : folder;
            command->hasFolder = true;
        } else {
            command->names.push_back(text);
        }
    }
    if (!haveArchive) {
        *error = "書庫の名前がありません。";
        return false;
    }
    return true;
}

} // namespace unlha
