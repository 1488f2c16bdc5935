// e2e_layout: where the end-to-end scenarios click and look. It lays the staged
// layout files out with the real toolkit (headless backend) at a scale and a
// client size, so positions come from the layouts and the scale alone.
//
//   e2e_layout rect RES LAYOUT [OPTIONS] CONTROL
//       "<left> <top> <right> <bottom> <font size> <style> <text colour>" of the
//       control's shown client rectangle (physical pixels; style 1 bold, 0 not,
//       + 2 underlined); "none" and exit 1 when it is hidden, clipped away or absent.
//   e2e_layout size RES LAYOUT [--scale PCT]
//       "<width> <height>": the window's size from the layout at that scale.
//   e2e_layout texts RES LAYOUT [OPTIONS]
//       the same fields, a tab and the text, for every shown one-line label with text.
//   e2e_layout string RES LANGUAGE KEY [NUMBER...]
//       the language text of KEY (numbers put into its placeholders), UTF-8.
//   e2e_layout thumb RES LAYOUT [OPTIONS] CONTAINER
//       "<left> <top> <right> <bottom>" of the scroll bar's track, then of its
//       thumb, of a scrolling container; "none" and exit 1 when it does not scroll.
//   e2e_layout rows RES LAYOUT [OPTIONS] NAME
//       for every list row whose control NAME is wholly in view: the row's
//       number, then the fields of rect, a line each.
//   e2e_layout focus RES LAYOUT [OPTIONS]
//       the control with the keyboard focus ("name" or "name@ROW"), then its
//       rectangle as for rect; "none" and exit 1 when nothing has the focus.
//
// RES is the staged "res/" folder, LAYOUT a layout file relative to it.
// OPTIONS:
//   --scale PCT       the window's scale in percent (100)
//   --size WxH        the client size (default: the layout's size at the scale)
//   --lang NAME       shows the texts of RES/values/<NAME>.xml (en-US)
//   --rows N          appends N row layouts to the hotfix list, as the main window does
//   --show NAME, --hide NAME   sets a control's visibility (a view, a row's button)
//   --text NAME TEXT  sets a control's text as the program would (the failure view's)
//   --attr NAME ATTRIBUTE VALUE  sets a layout attribute as the program does (the
//                     count title's width and the tip's place for a longer count)
// --show, --hide and --text, and the input the program was given, are replayed
// in the order given through the same toolkit (so a list scrolls and the focus
// moves exactly as in the program):
//   --wheel-down NAME N, --wheel-up NAME N   N notches of the wheel over NAME's
//                     centre (the system's 3 lines a notch, Windows' default)
//   --drag-thumb NAME DY   presses the middle of NAME's scroll thumb, moves DY
//                     pixels down (up when negative) and lets go
//   --key KEY         a key as xdotool names it: Tab, shift+Tab, Next (Page
//                     Down), Prior (Page Up), Home, End
//   --click NAME      a press and release at NAME's centre (it takes the focus)
// A CONTROL or NAME may be "name@ROW": that control of row ROW (from 0). A CONTROL
// "name#LINK" is link LINK (from 0) of a text control: the control, in the link's look.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "duilib/UIControls.h"
#include "duilib/UICulture.h"
#include "duilib/UIDialogBuilder.h"
#include "duilib/UIManager.h"
#include "duilib/UITextLayout.h"
#include "ui/SharedConstants.h"
#include "winapi/TextConversion.h"

using namespace DuiLib;

namespace {

const wchar_t* const kRowContainer = L"containerInstalledHotfix";

// What the program did or was given, in the order given.
struct Action {
    enum Kind { Show, Hide, Text, Attr, Wheel, DragThumb, Key, Click };
    explicit Action(Kind kind, std::wstring control = std::wstring(), int amount = 0)
        : kind(kind), control(std::move(control)), amount(amount) {}
    Kind kind;
    std::wstring control;
    int amount = 0;  // wheel delta, drag distance
    unsigned key = 0, modifiers = 0;
    std::wstring text, attribute;
};

struct Options {
    std::wstring res;
    std::wstring layout;
    unsigned scale = 100;
    int width = 0, height = 0;
    std::wstring language = L"en-US";
    int rows = 0;
    std::vector<Action> actions;
    std::wstring control;
};

struct Window {
    CPaintManagerUI manager;
    std::vector<CControlUI*> rows;  // roots of the appended rows, owned by the tree
};

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr, "e2e_layout: %s\n", why);
    std::exit(2);
}

std::wstring Wide(const char* text) {
    return Strconv::Utf8ToWide(text);
}

std::string Narrow(const std::wstring& text) {
    return Strconv::WideToUtf8(text);
}

bool ParseKey(const std::string& name, Action& action) {
    const std::pair<const char*, unsigned> keys[] = {
        {"Tab", UIKEY_TAB},   {"Next", UIKEY_PAGEDOWN}, {"Prior", UIKEY_PAGEUP},
        {"Home", UIKEY_HOME}, {"End", UIKEY_END},
    };
    std::string key = name;
    if (key.rfind("shift+", 0) == 0) {
        action.modifiers = UIMOD_SHIFT;
        key = key.substr(6);
    }
    for (const auto& [known, code] : keys) {
        if (key == known) {
            action.key = code;
            return true;
        }
    }
    return false;
}

Options ParseOptions(int argc, char** argv, bool wantsControl) {
    Options options;
    options.res = Wide(argv[2]);
    if (!options.res.empty() && options.res.back() != L'/') options.res += L'/';
    options.layout = Wide(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--scale" && hasValue) {
            options.scale = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (arg == "--size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &options.width, &options.height) != 2) {
                Usage("--size takes WIDTHxHEIGHT");
            }
        } else if (arg == "--lang" && hasValue) {
            options.language = Wide(argv[++i]);
        } else if (arg == "--rows" && hasValue) {
            options.rows = std::atoi(argv[++i]);
        } else if ((arg == "--show" || arg == "--hide") && hasValue) {
            options.actions.push_back(
                Action{arg == "--show" ? Action::Show : Action::Hide, Wide(argv[++i])});
        } else if (arg == "--text" && i + 2 < argc) {
            Action action{Action::Text, Wide(argv[i + 1])};
            action.text = Wide(argv[i + 2]);
            options.actions.push_back(action);
            i += 2;
        } else if (arg == "--attr" && i + 3 < argc) {
            Action action{Action::Attr, Wide(argv[i + 1])};
            action.attribute = Wide(argv[i + 2]);
            action.text = Wide(argv[i + 3]);
            options.actions.push_back(action);
            i += 3;
        } else if ((arg == "--wheel-down" || arg == "--wheel-up") && i + 2 < argc) {
            const int notches = std::atoi(argv[i + 2]);
            options.actions.push_back(Action{Action::Wheel, Wide(argv[i + 1]),
                                             (arg == "--wheel-down" ? -120 : 120) * notches});
            i += 2;
        } else if (arg == "--drag-thumb" && i + 2 < argc) {
            options.actions.push_back(
                Action{Action::DragThumb, Wide(argv[i + 1]), std::atoi(argv[i + 2])});
            i += 2;
        } else if (arg == "--key" && hasValue) {
            Action action{Action::Key};
            if (!ParseKey(argv[++i], action))
                Usage(("unknown key " + std::string(argv[i])).c_str());
            options.actions.push_back(action);
        } else if (arg == "--click" && hasValue) {
            options.actions.push_back(Action{Action::Click, Wide(argv[++i])});
        } else if (wantsControl && options.control.empty() && arg.rfind("--", 0) != 0) {
            options.control = Wide(argv[i]);
        } else {
            Usage(("unexpected argument " + arg).c_str());
        }
    }
    if (wantsControl && options.control.empty()) Usage("no control named");
    if (options.scale == 0) Usage("--scale must be a positive percentage");
    return options;
}

void UseLanguage(const std::wstring& res, const std::wstring& language) {
    CPaintManagerUI::SetResourcePath(res.c_str());
    UICulture::GetInstance()->SetLanguagePath(res + L"values/");
    UICulture::GetInstance()->SetLanguage(language, true);
}

// The rows the main window builds into its list, and the list's height for them.
bool AppendRows(Window& window, int count) {
    auto* list = dynamic_cast<CContainerUI*>(window.manager.FindControl(kRowContainer));
    if (!list) return count == 0;
    int height = 0;
    for (int i = 0; i < count; ++i) {
        CDialogBuilder builder;
        CControlUI* row = builder.Create(ITEM_LAYOUT.c_str());
        if (!row || !static_cast<IContainerUI*>(list)->Add(row)) return false;
        window.rows.push_back(row);
        height += row->GetScaledFixedHeight();
    }
    list->SetFixedHeight(height);
    return true;
}

// "name" in the window, or "name@ROW" in one appended row.
CControlUI* Find(Window& window, const std::wstring& query) {
    const size_t at = query.rfind(L'@');
    if (at == std::wstring::npos) return window.manager.FindControl(query.c_str());
    const size_t row = static_cast<size_t>(std::wcstoul(query.c_str() + at + 1, nullptr, 10));
    if (row >= window.rows.size()) return nullptr;
    return window.rows[row]->FindControlByName(query.substr(0, at).c_str());
}

bool Centre(CControlUI* control, int& x, int& y) {
    const UIRect shown = control ? control->GetVisibleRect() : UIRect{};
    if (IsRectEmpty(shown)) return false;
    x = shown.left + shown.Width() / 2;
    y = shown.top + shown.Height() / 2;
    return true;
}

bool Replay(Window& window, const Action& action) {
    CPaintManagerUI& manager = window.manager;
    const UISize client = manager.GetClientSize();
    manager.Layout(client.cx, client.cy);  // what the actions before changed
    CControlUI* control = action.control.empty() ? nullptr : Find(window, action.control);
    int x = 0, y = 0;
    const bool placed = Centre(control, x, y);
    switch (action.kind) {
        case Action::Show:
        case Action::Hide:
        case Action::Text:
        case Action::Attr:
            if (!control) {
                std::fprintf(stderr, "e2e_layout: no control %s\n", Narrow(action.control).c_str());
                return false;
            }
            if (action.kind == Action::Text) {
                control->SetText(action.text.c_str());
            } else if (action.kind == Action::Attr) {
                control->SetAttribute(action.attribute.c_str(), action.text.c_str());
            } else {
                control->SetVisible(action.kind == Action::Show);
            }
            return true;
        case Action::Wheel:
            if (!placed) break;
            manager.OnMouseMove(x, y);
            manager.OnMouseWheel(x, y, action.amount);
            return true;
        case Action::DragThumb: {
            auto* box = dynamic_cast<CContainerUI*>(control);
            const UIRect track = box ? box->GetScrollTrackRect() : UIRect{};
            const UIRect thumb = box ? box->GetScrollThumbRect() : UIRect{};
            if (IsRectEmpty(thumb)) break;
            x = track.left + track.Width() / 2;
            y = thumb.top + thumb.Height() / 2;
            manager.OnMouseMove(x, y);
            manager.OnButtonDown(x, y);
            manager.OnMouseMove(x, y + action.amount);
            manager.OnButtonUp(x, y + action.amount);
            return true;
        }
        case Action::Key:
            manager.OnKeyDown(action.key, action.modifiers);
            manager.OnKeyUp(action.key, action.modifiers);
            return true;
        case Action::Click:
            if (!placed) break;
            manager.OnMouseMove(x, y);
            manager.OnButtonDown(x, y);
            manager.OnButtonUp(x, y);
            return true;
    }
    std::fprintf(stderr, "e2e_layout: %s is not shown (or does not scroll)\n",
                 Narrow(action.control).c_str());
    return false;
}

bool Build(Window& window, const Options& options) {
    UseLanguage(options.res, options.language);
    window.manager.SetScale(options.scale);
    CDialogBuilder builder;
    if (!window.manager.AttachDialog(
            builder.Create(options.layout.c_str(), nullptr, nullptr, &window.manager))) {
        std::fprintf(stderr, "e2e_layout: cannot build %s\n", Narrow(options.layout).c_str());
        return false;
    }
    if (!AppendRows(window, options.rows)) {
        std::fprintf(stderr, "e2e_layout: cannot add %d rows\n", options.rows);
        return false;
    }
    const UISize init = window.manager.GetInitSize();
    const int width = options.width > 0 ? options.width : window.manager.ScaleValue(init.cx);
    const int height = options.height > 0 ? options.height : window.manager.ScaleValue(init.cy);
    window.manager.Layout(width, height);
    for (const Action& action : options.actions) {
        if (!Replay(window, action)) return false;
    }
    window.manager.Layout(width, height);  // after what the actions changed
    return true;
}

// The control's shown rectangle, font and text colour; false when it is not shown.
bool Describe(CControlUI* control, std::string& line) {
    if (!control || !control->IsVisibleInTree()) return false;
    const UIRect shown = control->GetVisibleRect();
    if (IsRectEmpty(shown)) return false;
    UIFont font = control->GetManager()->GetFont(-1);
    uint32_t colour = 0xFF000000;
    if (auto* label = dynamic_cast<CLabelUI*>(control)) {
        font = control->GetManager()->GetFont(label->GetFont());
        colour = label->GetTextColor();
    }
    char buffer[96];
    std::snprintf(buffer, sizeof(buffer), "%d %d %d %d %d %d %08X", shown.left, shown.top,
                  shown.right, shown.bottom, font.size, font.bold ? 1 : 0,
                  static_cast<unsigned>(colour));
    line = buffer;
    return true;
}

bool DescribeLink(CControlUI* control, int link, std::string& line);

// Wrapped texts are left out: the scenarios compare single lines.
void PrintTexts(CControlUI* control) {
    std::string line;
    auto* label = dynamic_cast<CLabelUI*>(control);
    auto* links = dynamic_cast<CTextUI*>(control);
    // A pattern ("Version {0}") is filled in by the program: its scenario expects the result.
    const std::wstring text = control->GetText().str();
    if (links && links->GetLinkCount() > 0 && !(links->GetTextStyle() & DT_ALIGN_WRAP)) {
        // Each link's shown words, in the link's look (a wrapping text's scenario expects it).
        const LinkMarkup markup = ParseLinkMarkup(text);
        for (int i = 0; i < links->GetLinkCount(); ++i) {
            if (DescribeLink(control, i, line))
                std::printf("%s\t%s\n", line.c_str(), Narrow(markup.shown[i]).c_str());
        }
    } else if (label && !(label->GetTextStyle() & DT_ALIGN_WRAP) && !text.empty() &&
               text.find(L"{0}") == std::wstring::npos && Describe(control, line)) {
        std::printf("%s\t%s\n", line.c_str(), Narrow(control->GetText().str()).c_str());
    }
    if (auto* container = dynamic_cast<CContainerUI*>(control)) {
        for (int i = 0; i < container->GetCount(); ++i) PrintTexts(container->GetItemAt(i));
    }
}

// Link LINK of a text control: the control's rectangle (where in it the link is
// drawn depends on the real font's metrics), and the link's look: the control's
// font underlined (style + 2), in the link colour.
bool DescribeLink(CControlUI* control, int link, std::string& line) {
    auto* text = dynamic_cast<CTextUI*>(control);
    if (!text || !text->IsVisibleInTree() || link < 0 || link >= text->GetLinkCount()) {
        return false;
    }
    const UIRect shown = text->GetVisibleRect();
    if (IsRectEmpty(shown)) return false;
    const UIFont font = control->GetManager()->GetFont(text->GetFont());
    char buffer[96];
    std::snprintf(buffer, sizeof(buffer), "%d %d %d %d %d %d %08X", shown.left, shown.top,
                  shown.right, shown.bottom, font.size, (font.bold ? 1 : 0) + 2,
                  static_cast<unsigned>(text->GetLinkColor()));
    line = buffer;
    return true;
}

int Rect(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv, true);
    Window window;
    if (!Build(window, options)) return 2;
    std::string line;
    const size_t hash = options.control.rfind(L'#');
    const bool shown =
        hash == std::wstring::npos
            ? Describe(Find(window, options.control), line)
            : DescribeLink(Find(window, options.control.substr(0, hash)),
                           std::atoi(Narrow(options.control.substr(hash + 1)).c_str()), line);
    if (!shown) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%s\n", line.c_str());
    return 0;
}

int Thumb(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv, true);
    Window window;
    if (!Build(window, options)) return 2;
    auto* box = dynamic_cast<CContainerUI*>(Find(window, options.control));
    const UIRect track = box ? box->GetScrollTrackRect() : UIRect{};
    const UIRect thumb = box ? box->GetScrollThumbRect() : UIRect{};
    if (IsRectEmpty(thumb)) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%d %d %d %d %d %d %d %d\n", track.left, track.top, track.right, track.bottom,
                thumb.left, thumb.top, thumb.right, thumb.bottom);
    return 0;
}

int Rows(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv, true);
    Window window;
    if (!Build(window, options)) return 2;
    for (size_t row = 0; row < window.rows.size(); ++row) {
        CControlUI* control = window.rows[row]->FindControlByName(options.control.c_str());
        std::string line;
        if (control && control->GetVisibleRect() == control->GetPos() && Describe(control, line)) {
            std::printf("%zu %s\n", row, line.c_str());
        }
    }
    return 0;
}

// "name@ROW" for a control of an appended row, else its name.
std::wstring QueryName(const Window& window, CControlUI* control) {
    for (size_t row = 0; row < window.rows.size(); ++row) {
        for (CControlUI* c = control; c; c = c->GetParent()) {
            if (c == window.rows[row]) {
                return control->GetName().str() + L"@" + std::to_wstring(row);
            }
        }
    }
    return control->GetName().str();
}

int Focus(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv, false);
    Window window;
    if (!Build(window, options)) return 2;
    CControlUI* focus = window.manager.GetFocus();
    std::string line;
    if (!focus || !Describe(focus, line)) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%s %s\n", Narrow(QueryName(window, focus)).c_str(), line.c_str());
    return 0;
}

int Texts(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv, false);
    Window window;
    if (!Build(window, options)) return 2;
    PrintTexts(window.manager.GetRoot());
    return 0;
}

int Size(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv, false);
    Window window;
    if (!Build(window, options)) return 2;
    const UISize size = window.manager.GetClientSize();
    std::printf("%d %d\n", size.cx, size.cy);
    return 0;
}

int String(int argc, char** argv) {
    std::wstring res = Wide(argv[2]);
    if (!res.empty() && res.back() != L'/') res += L'/';
    UseLanguage(res, Wide(argv[3]));
    std::vector<int> numbers;
    for (int i = 5; i < argc; ++i) numbers.push_back(std::atoi(argv[i]));
    const std::wstring key = Wide(argv[4]);
    const std::wstring text = numbers.empty()
                                  ? UICulture::GetInstance()->GetString(key).str()
                                  : UICulture::GetInstance()->GetFormatString(key, numbers, 0);
    std::printf("%s\n", Narrow(text).c_str());
    return text.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "rect" && argc >= 5) return Rect(argc, argv);
    if (command == "texts" && argc >= 4) return Texts(argc, argv);
    if (command == "size" && argc >= 4) return Size(argc, argv);
    if (command == "string" && argc >= 5) return String(argc, argv);
    if (command == "thumb" && argc >= 5) return Thumb(argc, argv);
    if (command == "rows" && argc >= 5) return Rows(argc, argv);
    if (command == "focus" && argc >= 4) return Focus(argc, argv);
    Usage(
        "usage: rect RES LAYOUT [OPTIONS] CONTROL | size RES LAYOUT [OPTIONS] | texts RES LAYOUT "
        "[OPTIONS] | "
        "string RES LANGUAGE KEY [NUMBER...] | thumb RES LAYOUT [OPTIONS] CONTAINER | rows RES "
        "LAYOUT "
        "[OPTIONS] NAME | focus RES "
        "LAYOUT [OPTIONS]");
}
