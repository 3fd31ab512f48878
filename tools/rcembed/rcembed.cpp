// Turns the resource script into a C++ table of the resources' bytes, so that
// the build for other hosts carries exactly the resources the Windows build
// gets from the resource compiler, numbered by the same script.
//
// Understood: #include "header" (whose #define NAME NUMBER lines name the
// identifiers), comments, and entries "ID TYPE "file"". A BITMAP loses its
// 14-byte file header, as the resource compiler strips it. Left out, as the
// layer has no use for them: other preprocessor lines, ICON entries (the
// icon of the program file; windows get the stock icon), the RT_MANIFEST
// entry (what Windows reads before it starts the program) and VERSIONINFO
// blocks (the file's version details).
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
    int id;
    std::string type;
    std::vector<unsigned char> bytes;
};

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "rcembed: " << message << "\n";
    std::exit(1);
}

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot read " + path.string());
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::string stripComment(const std::string& line) {
    auto slash = line.find("//");
    return slash == std::string::npos ? line : line.substr(0, slash);
}

std::string unquote(const std::string& word) {
    if (word.size() >= 2 && word.front() == '"' && word.back() == '"') return word.substr(1, word.size() - 2);
    return word;
}

void readDefines(const std::filesystem::path& header, std::map<std::string, int>& names) {
    std::ifstream in(header);
    if (!in) fail("cannot read " + header.string());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string directive, name, value;
        if (words >> directive >> name >> value && directive == "#define" && std::isdigit(uint8_t(value[0])))
            names[name] = std::stoi(value);
    }
}

int resolveId(const std::string& word, const std::map<std::string, int>& names) {
    if (!word.empty() && std::isdigit(uint8_t(word[0]))) return std::stoi(word);
    auto found = names.find(word);
    if (found == names.end()) fail("unknown resource identifier " + word);
    return found->second;
}

// Reads past the rest of a VERSIONINFO statement: its fixed lines, then
// its BEGIN ... END block with the blocks nested in it.
void skipVersionInfo(std::istream& in) {
    int depth = 0;
    bool begun = false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(stripComment(line));
        std::string word;
        while (words >> word) {
            if (word == "BEGIN" || word == "{") {
                ++depth;
                begun = true;
            } else if (word == "END" || word == "}") {
                --depth;
            }
        }
        if (begun && depth == 0) return;
    }
    fail("VERSIONINFO without its END");
}

std::vector<Entry> parseScript(const std::filesystem::path& script) {
    std::ifstream in(script);
    if (!in) fail("cannot read " + script.string());
    std::map<std::string, int> names;
    std::vector<Entry> entries;
    const auto folder = script.parent_path();
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(stripComment(line));
        std::string first, type, file;
        if (!(words >> first)) continue;
        if (first == "#include") {
            words >> file;
            readDefines(folder / unquote(file), names);
            continue;
        }
        if (first[0] == '#') continue;
        if (!(words >> type)) fail("cannot read the entry: " + line);
        if (type == "VERSIONINFO") {
            skipVersionInfo(in);
            continue;
        }
        if (!(words >> file)) fail("cannot read the entry: " + line);
        if (type == "ICON" || type == "RT_MANIFEST") continue;
        Entry entry{resolveId(first, names), unquote(type), readFile(folder / unquote(file))};
        if (entry.type == "BITMAP") {
            if (entry.bytes.size() < 14 || entry.bytes[0] != 'B' || entry.bytes[1] != 'M')
                fail(file + " is not a BMP file");
            entry.bytes.erase(entry.bytes.begin(), entry.bytes.begin() + 14);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void writeTable(const std::vector<Entry>& entries, const std::filesystem::path& output) {
    std::ostringstream out;
    out << "// Generated from the resource script by rcembed; do not edit.\n"
           "#include \"layer/Resources.h\"\n\nnamespace {\n";
    for (const Entry& entry : entries) {
        out << "const unsigned char resource" << entry.id << "[] = {";
        for (std::size_t i = 0; i < entry.bytes.size(); ++i)
            out << (i % 24 == 0 ? "\n" : "") << int(entry.bytes[i]) << ',';
        out << "\n};\n";
    }
    out << "}  // namespace\n\nconst layer::ResourceEntry programResources[] = {\n";
    for (const Entry& entry : entries)
        out << "    {" << entry.id << ", \"" << entry.type << "\", resource" << entry.id << ", sizeof resource"
            << entry.id << "},\n";
    out << "};\nconst std::size_t programResourceCount = " << entries.size() << ";\n";
    std::filesystem::create_directories(output.parent_path());
    std::ofstream file(output, std::ios::binary);
    file << out.str();
    if (!file) fail("cannot write " + output.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("usage: rcembed <script.rc> <output.cpp>");
    writeTable(parseScript(argv[1]), argv[2]);
    return 0;
}
