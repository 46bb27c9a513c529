#include "damagedfolder.h"

#include "damagedfiles.h"
#include "ico_fixtures.h"
#include "scratch.h"
#include "zipwriter.h"

namespace vmtest {
namespace {

namespace fx = vmtest::ico;

std::string withExtension(std::string name, const std::string& ext) {
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name + ext;
}

// Random bytes of a good file changed (seeded, so every run makes the same files).
std::string flipped(std::string bytes, std::uint32_t& state) {
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    const int changes = 1 + static_cast<int>(next() % 4);
    for (int c = 0; c < changes; ++c) bytes[next() % bytes.size()] ^= static_cast<char>(1u << (next() % 8));
    return bytes;
}

} // namespace

int WriteDamagedFolder(const std::string& folder) {
    int written = 0;
    auto put = [&](const std::string& name, const std::string& bytes) {
        if (writeFile(folder + "\\" + name, bytes)) ++written;
    };
    std::uint32_t state = 25;
    // Whole icons: three pages' worth at the default page size.
    for (int i = 0; i < 320; ++i)
        put("whole-" + std::to_string(i) + ".ico", fx::icoFile({fx::dib(32, 32, 8, static_cast<unsigned>(i))}));
    for (const auto& s : damaged::iconFiles()) {
        put(s.name, s.bytes);
        put(withExtension(s.name, ".cur"), s.bytes);
    }
    const std::string icon = fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 8)});
    const std::string cursor = fx::icoFile({fx::dib(32, 32, 1)}, 2);
    for (int i = 0; i < 30; ++i) {
        put("flipped-" + std::to_string(i) + ".ico", flipped(icon, state));
        put("flipped-" + std::to_string(i) + ".cur", flipped(cursor, state));
    }
    const auto animations = damaged::animationFiles();
    for (const auto& s : animations) put(s.name, s.bytes);
    for (int i = 0; i < 30; ++i) put("flipped-" + std::to_string(i) + ".ani", flipped(animations.front().bytes, state));

    const std::string module = folder + "\\whole.dll";
    fx::makeIconModule(module, {{1, "", {fx::dib(16, 16, 4), fx::dib(32, 32, 8)}}, {2, "", {fx::dib(32, 32, 32)}}});
    ++written;
    auto modules = damaged::modules(readFile(module), 40);
    for (auto& s : damaged::modulesWithoutLanguages(readFile(module))) modules.push_back(std::move(s));
    for (const auto& s : modules) {
        put(s.name, s.bytes);
        put(withExtension(s.name, ".icl"), s.bytes);
        put(withExtension(s.name, ".exe"), s.bytes);
    }
    for (const auto& s : damaged::shellLinks(30)) put(s.name, s.bytes);

    for (const auto& s : damaged::zipArchives()) put(s.name, s.bytes);
    // The damaged animations and icons again, as members of an archive.
    std::vector<ZipFixtureMember> members;
    for (const auto& s : animations) members.push_back({s.name, s.bytes});
    for (const auto& s : damaged::iconFiles()) members.push_back({s.name, s.bytes});
    put("damaged-members.zip", makeZipArchive(members));
    return written;
}

} // namespace vmtest
