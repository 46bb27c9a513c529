#pragma once
// The list operations the browser needs of a keyword list that belongs to a
// window (the main window's keyword box, the reference dialog's keyword box, the
// keyword editor's list). The window hands over any list with the toolkit's
// method names wrapped in ListOf<>; tests hand over HiddenLists.
#include <cstdint>
#include <string>

namespace vm {

class ListAccess {
public:
    virtual ~ListAccess() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual int NewIndex() const = 0;
    virtual int ListCount() const = 0;
    virtual std::string List(int index) const = 0;
    virtual std::int32_t ItemData(int index) const = 0;
    virtual void SetItemData(int index, std::int32_t value) = 0;
    virtual int ListIndex() const = 0;
    virtual void SetListIndex(int index) = 0;
    virtual std::string Text() const = 0;
};

template <class L>
class ListOf final : public ListAccess {
public:
    explicit ListOf(L& list) : list_(list) {}
    void Clear() override { list_.Clear(); }
    void AddItem(const std::string& text) override { list_.AddItem(text); }
    int NewIndex() const override { return list_.NewIndex(); }
    int ListCount() const override { return list_.ListCount(); }
    std::string List(int index) const override { return list_.List(index); }
    std::int32_t ItemData(int index) const override { return list_.ItemData(index); }
    void SetItemData(int index, std::int32_t value) override { list_.SetItemData(index, value); }
    int ListIndex() const override { return list_.ListIndex(); }
    void SetListIndex(int index) override { list_.SetListIndex(index); }
    std::string Text() const override { return list_.Text(); }

private:
    L& list_;
};

} // namespace vm
