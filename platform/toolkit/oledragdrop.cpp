#include "oledragdrop.h"

#include <shellapi.h>
#include <shlobj.h>

#include "control.h"
#include "twips.h"

namespace vm {
namespace {

// OLE's drag machinery needs the thread's OLE set up once; COM may already be.
bool oleReady() {
    static const bool ready = SUCCEEDED(OleInitialize(nullptr));
    return ready;
}

int buttonOf(DWORD keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}
int shiftOf(DWORD keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | ((keys & MK_ALT) ? 4 : 0);
}
DWORD effectOf(int effect) {
    return (effect & 1 ? DROPEFFECT_COPY : 0) | (effect & 2 ? DROPEFFECT_MOVE : 0);
}
int fromEffect(DWORD effect) { return (effect & DROPEFFECT_COPY ? 1 : 0) | (effect & DROPEFFECT_MOVE ? 2 : 0); }

FORMATETC formatOf(CLIPFORMAT format) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The reference counting and interface lookup every object handed to OLE here needs: it answers for
// IUnknown and its one interface, and deletes itself when the last reference goes.
template <class Interface, const IID& Iid>
class OleObject : public Interface {
public:
    virtual ~OleObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == Iid) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG refs_ = 1;
};

// The text the drag carries, as plain ANSI text.
class TextData final : public OleObject<IDataObject, IID_IDataObject> {
public:
    explicit TextData(std::string text) : text_(std::move(text)) {}
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, text_.size() + 1);
        if (!global) return E_OUTOFMEMORY;
        char* bytes = static_cast<char*>(GlobalLock(global));
        memcpy(bytes, text_.c_str(), text_.size() + 1);
        GlobalUnlock(global);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_TEXT && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC text = formatOf(CF_TEXT);
        return SHCreateStdEnumFmtEtc(1, &text, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::string text_;
};

// Ends the drag when the button that started it goes up; Esc cancels it.
class ButtonSource final : public OleObject<IDropSource, IID_IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & (MK_LBUTTON | MK_RBUTTON)) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

bool DataObject::GetFormat(int format) const {
    if (!data_) return false;
    FORMATETC f = formatOf(format == vbCFFiles ? CF_HDROP : CF_TEXT);
    return data_->QueryGetData(&f) == S_OK;
}

std::string DataObject::GetText() const {
    if (!data_) return "";
    FORMATETC f = formatOf(CF_TEXT);
    STGMEDIUM medium{};
    if (data_->GetData(&f, &medium) != S_OK) return "";
    std::string text;
    if (const char* bytes = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
        text.assign(bytes, strnlen(bytes, GlobalSize(medium.hGlobal)));
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return text;
}

std::vector<std::string> DataObject::Files() const {
    std::vector<std::string> files;
    if (!data_) return files;
    FORMATETC f = formatOf(CF_HDROP);
    STGMEDIUM medium{};
    if (data_->GetData(&f, &medium) != S_OK) return files;
    HDROP drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string name(length + 1, '\0');
        DragQueryFileA(drop, i, name.data(), length + 1);
        name.resize(length);
        files.push_back(name);
    }
    ReleaseStgMedium(&medium);
    return files;
}

class OleDropTarget::Target final : public OleObject<IDropTarget, IID_IDropTarget> {
public:
    Target(OleDropTarget& owner, HWND hwnd) : owner_(owner), hwnd_(hwnd) {}
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
        if (data_) data_->Release();
        data_ = data;
        if (data_) data_->AddRef();
        keys_ = keys;
        return over(keys, at, effect, vbEnter);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override {
        keys_ = keys;
        return over(keys, at, effect, vbOver);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        DWORD effect = DROPEFFECT_NONE;
        POINT at{};
        GetCursorPos(&at);
        over(keys_, POINTL{at.x, at.y}, &effect, vbLeave);
        release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
        // The button is up by now: the events see the one the drag ran with.
        const DWORD held = keys_ & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
        // The drop takes no more than the last drag-over offered; with no
        // handler nothing was done, so the source must not think it moved.
        int e = fromEffect(*effect & lastOver_);
        if (owner_.OLEDragDrop && hwnd_) {
            DataObject d(data);
            float x, y;
            place(at, x, y);
            owner_.OLEDragDrop(d, e, buttonOf(held), shiftOf(keys), x, y);
        } else {
            e = vbDropEffectNone;
        }
        *effect = effectOf(e) & *effect;
        release();
        return S_OK;
    }
    void forget() { hwnd_ = nullptr; }

private:
    HRESULT over(DWORD keys, POINTL at, DWORD* effect, int state) {
        int e = fromEffect(*effect);
        if (owner_.OLEDragOver && hwnd_) {
            DataObject d(data_);
            float x, y;
            place(at, x, y);
            owner_.OLEDragOver(d, e, buttonOf(keys), shiftOf(keys), x, y, state);
        } else {
            e = vbDropEffectNone;
        }
        *effect = effectOf(e) & *effect;
        lastOver_ = *effect;
        return S_OK;
    }
    void place(POINTL at, float& x, float& y) const {
        POINT p{at.x, at.y};
        if (hwnd_) ScreenToClient(hwnd_, &p);
        x = static_cast<float>(pixelsToTwipsX(p.x));
        y = static_cast<float>(pixelsToTwipsY(p.y));
    }
    void release() {
        if (data_) data_->Release();
        data_ = nullptr;
    }
    OleDropTarget& owner_;
    HWND hwnd_;
    IDataObject* data_ = nullptr;
    DWORD keys_ = 0;
    DWORD lastOver_ = DROPEFFECT_NONE; // the effect the last drag-over gave
};

OleDropTarget::~OleDropTarget() { detach(); }

bool OleDropTarget::attach(Control& control) {
    detach();
    if (!oleReady()) return false;
    hwnd_ = control.hWnd();
    target_ = new Target(*this, hwnd_);
    if (RegisterDragDrop(hwnd_, target_) != S_OK) {
        target_->Release();
        target_ = nullptr;
        hwnd_ = nullptr;
        return false;
    }
    return true;
}

void OleDropTarget::detach() {
    if (!target_) return;
    if (IsWindow(hwnd_)) RevokeDragDrop(hwnd_);
    target_->forget();
    target_->Release();
    target_ = nullptr;
    hwnd_ = nullptr;
}

IDataObject* NewTextData(const std::string& text) { return new TextData(text); }

int OleDragText(const std::string& text, int allowedEffects) {
    if (!oleReady()) return vbDropEffectNone;
    IDataObject* data = NewTextData(text);
    auto* source = new ButtonSource;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(data, source, effectOf(allowedEffects), &effect);
    data->Release();
    source->Release();
    return hr == DRAGDROP_S_DROP ? fromEffect(effect) : vbDropEffectNone;
}

} // namespace vm
