// Command tables: a form maps its menu, accelerator and tool button commands to its handlers in
// small static tables, and its OnMenuCommand runs the handler the table names.
#pragma once

#include <cstddef>
#include <string_view>

// A command id and the handler it runs.
template <class F>
struct Command {
    int id;
    void (F::*handler)();
};
// A block of ids, first to last, run by one handler with the index in the block (a menu array).
template <class F>
struct CommandRange {
    int first, last;
    void (F::*handler)(int index);
};

// Runs the handler of `id`; false when the table has none.
template <class F, std::size_t N>
bool Dispatch(F& form, const Command<F> (&table)[N], int id) {
    for (const auto& c : table)
        if (c.id == id) {
            (form.*c.handler)();
            return true;
        }
    return false;
}
template <class F, std::size_t N>
bool DispatchRange(F& form, const CommandRange<F> (&table)[N], int id) {
    for (const auto& r : table)
        if (id >= r.first && id <= r.last) {
            (form.*r.handler)(id - r.first);
            return true;
        }
    return false;
}

// What an item named by a key runs (a tool button, a drop-down item).
template <class F>
using KeyAction = void (*)(F& form);
template <class F>
struct KeyCommand {
    std::string_view key;
    KeyAction<F> action;
};

template <class M>
struct HandlerClass;
template <class F>
struct HandlerClass<void (F::*)()> {
    using type = F;
};
// A key action that runs a form's handler: {"open", Run<&FrmMain::mnuFileOpen_Click>}.
template <auto Handler>
void Run(typename HandlerClass<decltype(Handler)>::type& form) {
    (form.*Handler)();
}

// The action for a key, compared exactly; nullptr for a key the table does not know.
template <class F, std::size_t N>
KeyAction<F> FindKeyAction(const KeyCommand<F> (&table)[N], std::string_view key) {
    for (const KeyCommand<F>& c : table)
        if (c.key == key) return c.action;
    return nullptr;
}
