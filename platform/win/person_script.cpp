#include "platform/win/person_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/utf.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"
#include "platform/win/rect_tracker.h"

namespace krv::win {
namespace {

using base::Status;

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

// A whole number, or nothing.
std::optional<long long> number(const std::string& word) {
  long long v = 0;
  const char* end = word.data() + word.size();
  const auto r = std::from_chars(word.data(), end, v);
  if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
  return v;
}

struct Word {
  std::string text;
  bool quoted = false;
  std::size_t start = 0;  // where it begins in the line
};

// Splits a line into words; an error for an unclosed quote.
Status splitWords(const std::string& line, std::vector<Word>& words) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i >= line.size()) break;
    Word w;
    w.start = i;
    if (line[i] == '"') {
      w.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          w.text += line[i++];
          continue;
        }
        w.text += c;
      }
      if (!closed) return Status::error("a quote is not closed");
      if (i < line.size() && !isBlank(line[i]))
        return Status::error("a quoted word must be followed by a blank");
    } else {
      while (i < line.size() && !isBlank(line[i])) w.text += line[i++];
    }
    words.push_back(std::move(w));
  }
  return {};
}

const std::map<std::string, int>& buttonNames() {
  static const std::map<std::string, int> names = {
      {"ok", IDOK},       {"cancel", IDCANCEL}, {"abort", IDABORT},
      {"retry", IDRETRY}, {"ignore", IDIGNORE}, {"yes", IDYES},
      {"no", IDNO},       {"close", IDCLOSE},   {"help", IDHELP}};
  return names;
}

// A control identifier: a number, or a button's name (OK, IDOK, ...).
std::optional<int> controlId(const std::string& word) {
  if (auto n = number(word); n && *n >= 0 && *n <= 0xFFFF) return static_cast<int>(*n);
  std::string name = lower(word);
  if (name.rfind("id", 0) == 0 && buttonNames().count(name.substr(2))) name = name.substr(2);
  if (auto it = buttonNames().find(name); it != buttonNames().end()) return it->second;
  return std::nullopt;
}

std::optional<UINT> keyCode(const std::string& word) {
  static const std::map<std::string, UINT> keys = {
      {"enter", VK_RETURN},  {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},
      {"tab", VK_TAB},       {"space", VK_SPACE},   {"back", VK_BACK},     {"backspace", VK_BACK},
      {"delete", VK_DELETE}, {"del", VK_DELETE},    {"insert", VK_INSERT}, {"home", VK_HOME},
      {"end", VK_END},       {"pgup", VK_PRIOR},    {"pageup", VK_PRIOR},  {"pgdn", VK_NEXT},
      {"pagedown", VK_NEXT}, {"left", VK_LEFT},     {"right", VK_RIGHT},   {"up", VK_UP},
      {"down", VK_DOWN}};
  const std::string name = lower(word);
  if (auto it = keys.find(name); it != keys.end()) return it->second;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0])));
  if (name.size() >= 2 && name[0] == 'f') {
    if (auto n = number(name.substr(1)); n && *n >= 1 && *n <= 12)
      return VK_F1 + static_cast<UINT>(*n - 1);
  }
  return std::nullopt;
}

// The buttons a message box of `type` has.
std::vector<int> boxButtons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

// What a box is answered with when the script cannot answer it.
int safeAnswer(UINT type) {
  const std::vector<int> b = boxButtons(type);
  for (int id : {IDCANCEL, IDNO}) {
    if (std::find(b.begin(), b.end(), id) != b.end()) return id;
  }
  return b.front();
}

std::string buttonName(int id) {
  for (const auto& [name, value] : buttonNames())
    if (value == id) return name;
  return std::to_string(id);
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The control `id` of `dialog`: a child, else a child of a child.
CWnd* findControl(CWnd& dialog, int id) {
  if (CWnd* direct = dialog.GetDlgItem(id)) return direct;
  for (CWnd* child : dialog.children()) {
    if (!child || (child->GetStyle() & WS_CHILD) == 0) continue;
    if (CWnd* found = findControl(*child, id)) return found;
  }
  return nullptr;
}

std::string describe(CWnd& dialog) {
  return "the dialog \"" + base::toUtf8(dialog.GetWindowText()) + "\"";
}

struct ActionShape {
  std::size_t minWords, maxWords;
  bool rest = false;  // the text after the first word is typed
};

const std::map<std::string, ActionShape>& builtinActions() {
  static const std::map<std::string, ActionShape> actions = {{"click", {1, 1}},
                                                             {"type", {2, SIZE_MAX, true}},
                                                             {"replace", {1, SIZE_MAX, true}},
                                                             {"choose", {2, 2}},
                                                             {"check", {1, 1}},
                                                             {"uncheck", {1, 1}},
                                                             {"dblclick", {2, 2}},
                                                             {"at", {3, 5}},
                                                             {"drag", {5, 7}},
                                                             {"key", {1, 3}},
                                                             {"close", {0, 0}},
                                                             {"answer", {1, 2}},
                                                             {"files", {0, SIZE_MAX}},
                                                             {"menu", {1, 1}},
                                                             {"wait", {1, 1}},
                                                             {"picture", {1, 1}}};
  return actions;
}

// The checks of a step that need no window.
Status checkStep(const PersonScriptStep& s) {
  const auto& w = s.words;
  const std::string& a = s.action;
  if (a == "click" || a == "type" || a == "replace" || a == "choose" || a == "check" ||
      a == "uncheck" || a == "dblclick" || a == "at" || a == "drag") {
    if (!controlId(w[0])) return Status::error("\"" + w[0] + "\" is no control identifier");
  }
  if (a == "dblclick" && !number(w[1])) return Status::error("an item index is expected");
  if (a == "at" && (!number(w[1]) || !number(w[2])))
    return Status::error("a point X Y in pixels is expected");
  if (a == "drag" && (!number(w[1]) || !number(w[2]) || !number(w[3]) || !number(w[4])))
    return Status::error("two points X1 Y1 X2 Y2 in pixels are expected");
  if (a == "key" && !keyCode(w[0])) return Status::error("unknown key \"" + w[0] + "\"");
  // The words after the key or the point(s) name the keys held.
  const std::size_t held = a == "key" ? 1 : a == "at" ? 3 : a == "drag" ? 5 : w.size();
  for (std::size_t i = held; i < w.size(); ++i)
    if (lower(w[i]) != "shift" && lower(w[i]) != "ctrl")
      return Status::error("\"" + w[i] + "\" is neither shift nor ctrl");
  if (a == "answer") {
    const auto id = controlId(w[0]);
    if (!id || number(w[0])) return Status::error("\"" + w[0] + "\" is no button of a message box");
  }
  if (a == "wait") {
    const auto ms = number(w[0]);
    if (!ms || *ms < 0) return Status::error("milliseconds are expected");
  }
  if (a == "menu" && !s.quoted[0] && !number(w[0]))
    return Status::error("a command index or a quoted command text is expected");
  return {};
}

}  // namespace

void PersonScript::addAction(std::string name, std::size_t minWords, std::size_t maxWords,
                             Action action) {
  mCustom[lower(std::move(name))] = Custom{minWords, maxWords, std::move(action)};
}

Status PersonScript::load(std::string_view text, const std::filesystem::path& source) {
  std::vector<PersonScriptStep> steps;
  const std::string where = source.empty() ? std::string("script") : source.string();
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string line(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNo;
    const auto fail = [&](const std::string& message) {
      return Status::fileError(where, message, "line " + std::to_string(lineNo));
    };
    if (!base::isValidUtf8(line)) return fail("the line is not UTF-8");
    std::vector<Word> words;
    if (Status s = splitWords(line, words); !s) return fail(s.message());
    // A comment starts with a word beginning with #.
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (!words[i].quoted && !words[i].text.empty() && words[i].text[0] == '#') {
        line = line.substr(0, words[i].start);
        words.resize(i);
        break;
      }
    }
    if (words.empty()) continue;
    PersonScriptStep step;
    step.line = lineNo;
    step.text = trimmed(line);
    step.action = lower(words[0].text);
    for (std::size_t i = 1; i < words.size(); ++i) {
      step.words.push_back(words[i].text);
      step.quoted.push_back(words[i].quoted);
    }
    std::size_t minWords = 0, maxWords = 0;
    bool rest = false;
    if (auto b = builtinActions().find(step.action); b != builtinActions().end()) {
      minWords = b->second.minWords, maxWords = b->second.maxWords, rest = b->second.rest;
    } else if (auto c = mCustom.find(step.action); c != mCustom.end()) {
      minWords = c->second.minWords, maxWords = c->second.maxWords;
    } else {
      return fail("unknown action \"" + words[0].text + "\"");
    }
    if (step.words.size() < minWords || step.words.size() > maxWords) {
      return fail("\"" + step.action + "\" takes " +
                  (minWords == maxWords ? std::to_string(minWords)
                   : maxWords == SIZE_MAX
                       ? "at least " + std::to_string(minWords)
                       : std::to_string(minWords) + " to " + std::to_string(maxWords)) +
                  " word(s) after it, not " + std::to_string(step.words.size()));
    }
    if (rest && words.size() > 2) {
      // One quoted word is typed as it is; otherwise the rest of the line.
      if (words.size() == 3 && words[2].quoted)
        step.rest = words[2].text;
      else
        step.rest = trimmed(std::string_view(line).substr(words[2].start));
    }
    if (builtinActions().count(step.action))
      if (Status s = checkStep(step); !s) return fail(s.message() + " in \"" + step.text + "\"");
    steps.push_back(std::move(step));
  }
  mSteps = std::move(steps);
  mSource = source;
  mFolder = source.empty() ? std::filesystem::path() : source.parent_path();
  mNext = 0;
  mFailure = Status();
  mEndedWhileRunning = false;
  mFirstShown = false;
  return {};
}

Status PersonScript::loadFile(const std::filesystem::path& file) {
  base::Result<std::string> bytes = base::readFile(file, 16u * 1024u * 1024u);
  if (!bytes) return bytes.status();
  base::Result<std::string> text = base::fileTextAsUtf8(*bytes);
  if (!text) return Status::fileError(file, text.status().message());
  return load(*text, file);
}

std::filesystem::path PersonScript::resolve(const std::string& path) const {
  const std::filesystem::path p(path);
  if (p.is_absolute()) return p;
  return std::filesystem::absolute(mFolder / p);
}

void PersonScript::fail(const PersonScriptStep* step, const std::string& message) {
  if (failed()) return;
  const std::string where = mSource.empty() ? std::string("script") : mSource.string();
  if (step)
    mFailure = Status::fileError(where, message + " (\"" + step->text + "\")",
                                 "line " + std::to_string(step->line));
  else
    mFailure = Status::fileError(where, message, "end");
}

void PersonScript::takePicture(CWnd& window, const std::filesystem::path& file,
                               const PersonScriptStep* step) {
  if (!mPictureTaker) {
    fail(step, "pictures cannot be taken here");
    return;
  }
  if (Status s = mPictureTaker(window, file); !s) {
    fail(step, "the picture failed: " + s.text());
    return;
  }
  mPictures.push_back(file);
}

void PersonScript::runModal(CDialog& dialog) {
  drive(dialog, [&dialog] { return dialog.isRunningModal() && IsWindow(dialog.GetSafeHwnd()); });
  if (dialog.isRunningModal()) dialog.EndDialog(IDCANCEL);
}

void PersonScript::runModeless(CWnd& window, const std::function<bool()>& finished) {
  drive(window, [&] { return !finished() && IsWindow(window.GetSafeHwnd()); });
}

void PersonScript::drive(CWnd& window, const std::function<bool()>& running) {
  if (!mFirstShown) {
    mFirstShown = true;
    if (!mFirstPicture.empty() && !failed()) takePicture(window, mFirstPicture, nullptr);
  }
  while (!failed() && running()) {
    if (mNext >= mSteps.size()) {
      mEndedWhileRunning = true;
      return;
    }
    const PersonScriptStep& step = mSteps[mNext];
    if (step.action == "answer" || step.action == "files" || step.action == "menu") {
      const char* what = step.action == "answer"  ? "message box"
                         : step.action == "files" ? "file dialog"
                                                  : "popup menu";
      fail(&step, std::string("no ") + what + " is showing to answer");
      return;
    }
    ++mNext;
    const PersonScriptStep* outer = mPlaying;
    mPlaying = &step;
    play(step, window);
    mPlaying = outer;
  }
}

void PersonScript::play(const PersonScriptStep& s, CWnd& dialog) {
  const std::string& a = s.action;
  if (auto c = mCustom.find(a); c != mCustom.end()) {
    if (Status st = c->second.action(dialog, s.words); !st) fail(&s, st.message());
    return;
  }
  // The keys held: the words after the key, the point or the two points.
  bool shift = false, ctrl = false;
  const std::size_t held = a == "key" ? 1 : a == "at" ? 3 : a == "drag" ? 5 : s.words.size();
  for (std::size_t i = held; i < s.words.size(); ++i)
    (lower(s.words[i]) == "shift" ? shift : ctrl) = true;
  if (a == "key") {
    Person::pressKey(&dialog, *keyCode(s.words[0]), shift, ctrl);
    return;
  }
  if (a == "close") {
    Person::close(&dialog);
    EventLoop::instance().runPending();
    return;
  }
  if (a == "wait") {
    EventLoop::instance().advance(static_cast<std::uint64_t>(*number(s.words[0])));
    return;
  }
  if (a == "picture") {
    takePicture(dialog, resolve(s.words[0]), &s);
    return;
  }

  // The rest act on a control.
  const int id = *controlId(s.words[0]);
  CWnd* control = id == 0 ? &dialog : findControl(dialog, id);
  if (!control) {
    fail(&s, "there is no control " + s.words[0] + " in " + describe(dialog));
    return;
  }
  if (!control->IsWindowEnabled()) {
    fail(&s, "control " + s.words[0] + " is disabled");
    return;
  }
  if (!control->IsWindowVisible()) {
    fail(&s, "control " + s.words[0] + " is hidden");
    return;
  }
  if (a == "click") {
    Person::click(control);
  } else if (a == "type") {
    Person::type(control, base::utf8ToWide(s.rest));
  } else if (a == "replace") {
    Person::replaceText(control, base::utf8ToWide(s.rest));
  } else if (a == "choose") {
    const auto index = number(s.words[1]);
    if (index && !s.quoted[1]) {
      Person::choose(control, static_cast<int>(*index));
    } else if (!Person::choose(control, base::utf8ToWide(s.words[1]))) {
      fail(&s, "control " + s.words[0] + " has no item \"" + s.words[1] + "\"");
    }
  } else if (a == "check" || a == "uncheck") {
    const LRESULT want = a == "check" ? BST_CHECKED : BST_UNCHECKED;
    // A three-state box may take up to two clicks.
    for (int i = 0; i < 3 && IsWindow(control) && control->SendMessage(BM_GETCHECK) != want; ++i)
      Person::click(control);
    if (IsWindow(control) && control->SendMessage(BM_GETCHECK) != want)
      fail(&s, "control " + s.words[0] + " did not become " + (want ? "checked" : "unchecked"));
  } else if (a == "dblclick") {
    Person::doubleClickItem(control, static_cast<int>(*number(s.words[1])));
  } else if (a == "at") {
    Person::clickAt(
        control,
        CPoint(static_cast<int>(*number(s.words[1])), static_cast<int>(*number(s.words[2]))), shift,
        ctrl);
  } else if (a == "drag") {
    const auto at = [&s](std::size_t i) {
      return CPoint(static_cast<int>(*number(s.words[i])),
                    static_cast<int>(*number(s.words[i + 1])));
    };
    const CPoint from = at(1), to = at(3);
    // The press's handler asks for the tracking (trackRectangle or
    // trackRubberBand) while it runs, and gets the drag to `to`; the
    // tracking takes the release, as a real drag does. A press that
    // tracks nothing is a plain click.
    const Drag outer = mDrag;
    mDrag = Drag{&s, to - from, false};
    Person::mouseDown(control, from, shift, ctrl);
    const bool tracked = mDrag.tracked;
    mDrag = outer;
    if (tracked)
      KeyboardState::setDown(VK_LBUTTON, false);
    else
      Person::mouseUp(control, from, shift, ctrl);
    EventLoop::instance().runPending();
  }
}

const PersonScriptStep* PersonScript::takeAnswer(std::string_view action, const std::string& what) {
  if (failed()) return nullptr;
  if (mNext < mSteps.size() && mSteps[mNext].action == action) return &mSteps[mNext++];
  const PersonScriptStep* at = mPlaying;
  std::string message = what + " appeared, but ";
  if (mNext >= mSteps.size())
    message += "the script has no step left to answer it";
  else if (at)
    message += "the next step (line " + std::to_string(mSteps[mNext].line) + ") is not \"" +
               std::string(action) + "\"";
  else
    message += "before this step, which is not \"" + std::string(action) + "\"";
  if (!at && mNext < mSteps.size()) at = &mSteps[mNext];
  fail(at, message);
  return nullptr;
}

int PersonScript::messageBox(HWND, const std::wstring& text, const std::wstring& caption,
                             UINT type) {
  const std::string shown = base::toUtf8(caption) + ": " + base::toUtf8(text);
  mBoxes.push_back(shown);
  const PersonScriptStep* s = takeAnswer("answer", "a message box \"" + shown + "\"");
  if (!s) return safeAnswer(type);
  const int id = *controlId(s->words[0]);
  const std::vector<int> buttons = boxButtons(type);
  if (std::find(buttons.begin(), buttons.end(), id) == buttons.end()) {
    std::string names;
    for (int b : buttons) names += (names.empty() ? "" : ", ") + upper(buttonName(b));
    fail(s, "the message box \"" + shown + "\" has no button " + upper(s->words[0]) + " (only " +
                names + ")");
    return safeAnswer(type);
  }
  if (s->words.size() > 1 && text.find(base::utf8ToWide(s->words[1])) == std::wstring::npos) {
    fail(s, "the message box \"" + shown + "\" does not say \"" + s->words[1] + "\"");
    return safeAnswer(type);
  }
  return id;
}

bool PersonScript::chooseFiles(const FileDialogRequest& request,
                               std::vector<std::wstring>& chosen) {
  chosen.clear();
  const PersonScriptStep* s =
      takeAnswer("files", "a file dialog \"" + base::toUtf8(request.title) + "\"");
  if (!s) return false;
  if (!request.multiSelect && s->words.size() > 1) {
    fail(s, "the file dialog takes one file, not " + std::to_string(s->words.size()));
    return false;
  }
  for (const std::string& w : s->words) chosen.push_back(resolve(w).wstring());
  return !chosen.empty();
}

int PersonScript::choosePopupMenuItem(const std::vector<std::wstring>& commands, CPoint) {
  const PersonScriptStep* s = takeAnswer("menu", "a popup menu");
  if (!s) return -1;
  if (!s->quoted[0]) {
    const long long index = *number(s->words[0]);
    if (index >= 0 && index < static_cast<long long>(commands.size()))
      return static_cast<int>(index);
    fail(s, "the popup menu has " + std::to_string(commands.size()) + " commands");
    return -1;
  }
  for (std::size_t i = 0; i < commands.size(); ++i)
    if (base::toUtf8(commands[i]) == s->words[0]) return static_cast<int>(i);
  fail(s, "the popup menu has no command \"" + s->words[0] + "\"");
  return -1;
}

bool PersonScript::takeDrag(CPoint& delta) {
  if (!mDrag.step || mPlaying != mDrag.step) {
    fail(mPlaying, "a drag can only be scripted with a drag step");
    return false;
  }
  if (mDrag.tracked) {
    fail(mPlaying, "the press asked for a second drag, which cannot be scripted");
    return false;
  }
  mDrag.tracked = true;
  delta = mDrag.delta;
  return true;
}

bool PersonScript::trackRectangle(const CRect& start, int handle, CRect& result) {
  result = start;
  CPoint delta;
  if (!takeDrag(delta)) return false;
  result = draggedRect(start, handle, delta);
  return result != start;
}

bool PersonScript::trackRubberBand(CPoint start, CRect& result) {
  result = CRect(start.x, start.y, start.x, start.y);
  CPoint delta;
  if (!takeDrag(delta)) return false;
  result = CRect(start.x, start.y, start.x + delta.x, start.y + delta.y);
  result.NormalizeRect();
  return true;
}
bool PersonScript::pickPoint(const std::wstring&, PickedPoint&) {
  fail(mPlaying, "a pick in the drawing cannot be scripted");
  return false;
}
bool PersonScript::pickObject(const std::wstring&, std::int64_t&) {
  fail(mPlaying, "a pick in the drawing cannot be scripted");
  return false;
}

}  // namespace krv::win
