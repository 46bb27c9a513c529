#pragma once
// OLE drag and drop: a control as a drop target, with OLEDragOver and
// OLEDragDrop events in the original toolkit's form (data, effect, button,
// shift, x, y in twips of the control), and the start of a drag of text.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "picture.h" // the clipboard formats vbCFText and vbCFFiles

namespace vm {

class Control;

enum OleDropEffect : int { vbDropEffectNone = 0, vbDropEffectCopy = 1, vbDropEffectMove = 2 };
enum OleDragOverState : int { vbEnter = 0, vbLeave = 1, vbOver = 2 };

// The dragged data as the events see it.
class DataObject {
public:
    explicit DataObject(IDataObject* data) : data_(data) {}
    // Whether the data offers the format (vbCFText, vbCFFiles).
    bool GetFormat(int format) const;
    // The text of vbCFText; "" when there is none.
    std::string GetText() const;
    // The files of vbCFFiles.
    std::vector<std::string> Files() const;

private:
    IDataObject* data_;
};

// Makes a control a drop target while it lives. The events come on the UI
// thread, inside the drag's own message loop.
class OleDropTarget {
public:
    OleDropTarget() = default;
    ~OleDropTarget();
    OleDropTarget(const OleDropTarget&) = delete;
    OleDropTarget& operator=(const OleDropTarget&) = delete;

    std::function<void(DataObject& Data, int& Effect, int Button, int Shift, float X, float Y, int State)> OLEDragOver;
    std::function<void(DataObject& Data, int& Effect, int Button, int Shift, float X, float Y)> OLEDragDrop;

    // Registers the control's window; false when Windows refused.
    bool attach(Control& control);
    void detach();

private:
    class Target;
    Target* target_ = nullptr;
    HWND hwnd_ = nullptr;
};

// Data offering text (vbCFText) as a drag carries it; the caller releases it.
IDataObject* NewTextData(const std::string& text);

// Drags text from the current pointer position until the button is let go;
// the effect the drop took (vbDropEffectNone when it was refused or cancelled).
int OleDragText(const std::string& text, int allowedEffects);

} // namespace vm
