// The program's message boxes in a test: each recorded instead of shown and answered as the test
// chose; and the program's own message window answered from a timer inside its modal loop.
#pragma once

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/FrmMessage.h"
#include "ui/App.h"
#include "ui/Win.h"

struct ShownBox {
    std::string text;
    UINT style = 0;
    std::string title;
    bool operator==(const ShownBox&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownBox& box) {
        return out << box.title << "|" << box.style << "|" << box.text;
    }
};

// While it lives, every box is kept in `boxes` and answered from `answers` in turn, then by
// `answer`; `onShow` runs as each one shows, for what the test wants to know at that moment. One
// recorder lives at a time: the state is shared with the hook, a plain function.
class BoxRecorder {
  public:
    explicit BoxRecorder(int answerWhenNoneLeft = IDOK) : saved_(gMsgBoxHook) {
        boxes.clear();
        answers.clear();
        answer = answerWhenNoneLeft;
        onShow = nullptr;
        gMsgBoxHook = &Record;
    }
    ~BoxRecorder() {
        gMsgBoxHook = saved_;
        onShow = nullptr;
    }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    static inline std::vector<ShownBox> boxes;
    static inline std::deque<int> answers;
    static inline int answer = IDOK;
    static inline std::function<void(const ShownBox&)> onShow;

    static std::vector<std::string> Texts() { return Field(&ShownBox::text); }
    static std::vector<std::string> Titles() { return Field(&ShownBox::title); }

    // What the message window showed: its caption, its action button and the setting of its tick box.
    struct Message {
        std::string caption, button, valueName;
    };
    // While it lives, the message window is answered as it shows: by its action button when
    // `pressButton`, else by OK; what it showed is kept in `messages`.
    class MessageWindow {
      public:
        explicit MessageWindow(bool pressButton) {
            messages.clear();
            press = pressButton;
            timer_ = SetTimer(nullptr, 0, 20, Tick);
        }
        ~MessageWindow() { KillTimer(nullptr, timer_); }
        MessageWindow(const MessageWindow&) = delete;
        MessageWindow& operator=(const MessageWindow&) = delete;
        static inline std::vector<Message> messages;
        static int Shown() { return static_cast<int>(messages.size()); }
        // The last one shown; an empty one when none was.
        static Message Last() { return messages.empty() ? Message{} : messages.back(); }

      private:
        static inline bool press = false;
        static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
            if (!frmMessage.IsLoaded() || !frmMessage.Visible()) return;
            messages.push_back({frmMessage.Caption(), frmMessage.cmdRestart.Text(), frmMessage.chkNoShow.Tag});
            SendMessageA((press ? frmMessage.cmdRestart : frmMessage.cmdOK).hwnd(), BM_CLICK, 0, 0);
        }
        UINT_PTR timer_;
    };

  private:
    static int Record(const std::string& text, UINT style, const std::string& title) {
        boxes.push_back({text, style, title});
        if (onShow) onShow(boxes.back());
        if (answers.empty()) return answer;
        const int next = answers.front();
        answers.pop_front();
        return next;
    }
    static std::vector<std::string> Field(std::string ShownBox::* field) {
        std::vector<std::string> values;
        for (const ShownBox& box : boxes) values.push_back(box.*field);
        return values;
    }
    MsgBoxHook saved_;
};
