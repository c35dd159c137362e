// Model-side stand-ins for the two kinds of control whose events drive the pages.
//
// EditField is an edit box's text with its change handler. Setting a text that differs from the current
// one runs the handler at once, to completion, before set() returns; setting an equal text runs nothing.
// The page handlers build their chains of updates on this rule.
//
// PickList is a pick-only drop-down list. Setting its index from code runs no handler; only pick(), which
// the Qt binding calls when the user chooses an item, runs onPick.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarvelle {

class EditField
{
public:
    std::function<void()> onChange;

    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }

    /// Sets the text; runs onChange when the text differs from the current one.
    void set(std::string text)
    {
        if (text == text_)
            return;
        text_ = std::move(text);
        if (onChange)
            onChange();
    }

private:
    std::string text_;
};

class PickList
{
public:
    std::function<void()> onPick;

    explicit PickList(std::vector<std::string> items = {}, int index = -1) : items_(std::move(items)), index_(index) { }

    const std::vector<std::string>& items() const { return items_; }
    int index() const { return index_; }
    /// The selected item's text, or the empty text when none is selected.
    std::string text() const
    {
        return index_ >= 0 && index_ < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(index_)] : "";
    }

    /// Selects an item from code (-1 shows nothing); runs no handler.
    void setIndex(int index) { index_ = index; }

    /// The user chose an item: selects it and runs onPick.
    void pick(int index)
    {
        index_ = index;
        if (onPick)
            onPick();
    }

private:
    std::vector<std::string> items_;
    int index_;
};

} // namespace tarvelle
