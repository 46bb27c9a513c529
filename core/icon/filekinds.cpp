#include "filekinds.h"

#include "icolayout.h"
#include "linklayout.h"
#include "neresources.h"
#include "peresources.h"
#include "picturelayout.h"

namespace vm {
namespace {

using Bytes = std::span<const std::uint8_t>;

bool isModule(Bytes b) { return b.size() >= 2 && b[0] == 'M' && b[1] == 'Z'; }
bool isAnimation(Bytes b) {
    return b.size() >= 12 && b[0] == 'R' && b[1] == 'I' && b[2] == 'F' && b[3] == 'F' && b[8] == 'A' &&
           b[9] == 'C' && b[10] == 'O' && b[11] == 'N';
}
bool isIconFile(Bytes b) {
    const auto dir = ico::readIconDir(b);
    return dir && dir->idReserved == 0 && (dir->idType == 1 || dir->idType == 2);
}
// A module the program has no reader for is no icon source.
bool refused(Bytes) { return false; }

struct KindCheck {
    FileKind kind;
    bool (*is)(Bytes);
    bool (*sound)(Bytes);
};

// One line per kind; the first whose test the bytes pass decides.
constexpr KindCheck kKinds[] = {
    {FileKind::PeModule, pe::isPeModule, pe::moduleIsSound},
    {FileKind::NeModule, ne::isNeModule, ne::moduleIsSound},
    {FileKind::OldModule, isModule, refused},
    {FileKind::Animation, isAnimation, ico::aniFileIsSound},
    {FileKind::Icon, isIconFile, ico::icoFileIsSound},
    {FileKind::ShellLink, lnk::isShellLink, lnk::linkIsSound},
    {FileKind::Bitmap, pic::isBmp, pic::bmpIsSound},
    {FileKind::Gif, pic::isGif, pic::gifIsSound},
    {FileKind::Jpeg, pic::isJpeg, pic::jpegIsSound},
    {FileKind::Png, pic::isPng, pic::pngIsSound},
    {FileKind::Metafile, pic::isMetafile, pic::metafileIsSound},
};

const KindCheck* checkOf(Bytes bytes) {
    for (const KindCheck& k : kKinds)
        if (k.is(bytes)) return &k;
    return nullptr;
}

} // namespace

FileKind KindOfBytes(std::span<const std::uint8_t> bytes) {
    const KindCheck* k = checkOf(bytes);
    return k ? k->kind : FileKind::Unknown;
}

bool BytesAreSound(std::span<const std::uint8_t> bytes) {
    const KindCheck* k = checkOf(bytes);
    return k && k->sound(bytes);
}

CheckedBytes CheckBytes(std::span<const std::uint8_t> bytes) {
    const KindCheck* k = checkOf(bytes);
    return k ? CheckedBytes{k->kind, k->sound(bytes)} : CheckedBytes{};
}

} // namespace vm
