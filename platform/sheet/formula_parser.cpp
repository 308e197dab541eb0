// Formula text to compiled code, and the rewriting of its references (moved lines, reference
// style).
#include "platform/sheet/formula_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/custom_function.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet {

namespace {

inline bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentChar(char c) { return isAlpha(c) || isDigit(c) || c == '_' || c == '.'; }

struct RefSpan {
  size_t begin;
  size_t end;
  AreaRef area;
};

class Parser {
 public:
  Parser(std::string_view src, const ParseOptions& o, std::vector<RefSpan>* spans)
      : s_(src), o_(o), r1c1_(o.style == ReferenceStyle::R1C1), spans_(spans) {}

  bool run(FormulaCode& out, std::string& error) {
    c_ = &out;
    if (s_.size() > kMaxFormulaLength) {
      error = "formula longer than " + std::to_string(kMaxFormulaLength) + " characters";
      return false;
    }
    if (!s_.empty() && s_[0] == '=') p_ = 1;
    skipSpaces();
    if (p_ >= s_.size()) {
      error = "empty formula";
      return false;
    }
    bool ok = parseExpr(1);
    if (ok) {
      skipSpaces();
      if (p_ < s_.size()) ok = fail(std::string("unexpected '") + s_[p_] + "'");
    }
    if (!ok) error = err_.empty() ? "syntax error" : err_;
    return ok;
  }

 private:
  std::string_view s_;
  size_t p_ = 0;
  ParseOptions o_;
  bool r1c1_;
  std::vector<RefSpan>* spans_;
  FormulaCode* c_ = nullptr;
  std::string err_;
  int depth_ = 0;
  int arrayCtx_ = 0;

  bool fail(const std::string& msg) {
    if (err_.empty()) err_ = msg + " at position " + std::to_string(p_ + 1);
    return false;
  }
  bool atEnd() const { return p_ >= s_.size(); }
  char cur() const { return p_ < s_.size() ? s_[p_] : '\0'; }
  char at(size_t i) const { return i < s_.size() ? s_[i] : '\0'; }
  void skipSpaces() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r'))
      ++p_;
  }
  size_t emit(Op op, uint32_t a = 0, uint16_t argc = 0) {
    c_->code.push_back(Instr{op, static_cast<uint8_t>(arrayCtx_ > 0 ? 1 : 0), argc, a});
    return c_->code.size() - 1;
  }
  void patch(size_t at) { c_->code[at].a = static_cast<uint32_t>(c_->code.size()); }
  bool enter() {
    if (++depth_ > kMaxNestingDepth) return fail("formula nested too deeply");
    return true;
  }

  static int precedence(Op op) {
    switch (op) {
      case Op::Eq:
      case Op::Ne:
      case Op::Lt:
      case Op::Le:
      case Op::Gt:
      case Op::Ge:
        return 1;
      case Op::Concat:
        return 2;
      case Op::Add:
      case Op::Sub:
        return 3;
      case Op::Mul:
      case Op::Div:
        return 4;
      case Op::Pow:
        return 5;
      default:
        return 0;
    }
  }

  // Reads a binary operator at the current position without consuming it.
  bool peekBinary(Op& op, size_t& len) const {
    char c = cur(), d = at(p_ + 1);
    len = 1;
    switch (c) {
      case '+':
        op = Op::Add;
        return true;
      case '-':
        op = Op::Sub;
        return true;
      case '*':
        op = Op::Mul;
        return true;
      case '/':
        op = Op::Div;
        return true;
      case '^':
        op = Op::Pow;
        return true;
      case '&':
        op = Op::Concat;
        return true;
      case '=':
        op = Op::Eq;
        return true;
      case '<':
        if (d == '=') {
          op = Op::Le;
          len = 2;
        } else if (d == '>') {
          op = Op::Ne;
          len = 2;
        } else
          op = Op::Lt;
        return true;
      case '>':
        if (d == '=') {
          op = Op::Ge;
          len = 2;
        } else
          op = Op::Gt;
        return true;
      default:
        return false;
    }
  }

  bool parseExpr(int minPrec) {
    if (!enter()) return false;
    if (!parseUnary()) return false;
    for (;;) {
      skipSpaces();
      Op op;
      size_t len;
      if (!peekBinary(op, len)) break;
      int prec = precedence(op);
      if (prec < minPrec) break;
      p_ += len;
      if (!parseExpr(prec + 1)) return false;
      emit(op);
    }
    --depth_;
    return true;
  }

  bool parseUnary() {
    skipSpaces();
    char c = cur();
    if (c == '-' || c == '+') {
      ++p_;
      if (!enter()) return false;
      if (!parseUnary()) return false;
      --depth_;
      emit(c == '-' ? Op::Neg : Op::Plus);
      return true;
    }
    bool isRef = false;
    if (!parsePrimary(isRef)) return false;
    for (;;) {
      size_t save = p_;
      skipSpaces();
      if (cur() == '%') {
        ++p_;
        emit(Op::Percent);
        continue;
      }
      p_ = save;
      break;
    }
    return true;
  }

  // ---- references -------------------------------------------------------

  // `$?letters$?digits` at i, not followed by a name character or "(".
  bool scanA1(size_t i, CellAddress& a, size_t& end) const {
    size_t j = i;
    if (at(j) == '$') ++j;
    size_t ls = j;
    while (isAlpha(at(j))) ++j;
    if (j == ls || j - ls > 3) return false;
    if (at(j) == '$') ++j;
    size_t ds = j;
    while (isDigit(at(j))) ++j;
    if (j == ds) return false;
    if (isIdentChar(at(j)) || at(j) == '(' || at(j) == '$') return false;
    auto parsed = parseA1(s_.substr(i, j - i));
    if (!parsed) return false;
    a = *parsed;
    end = j;
    return true;
  }

  // One part of an R1C1 reference: "" (relative 0), "n" (absolute) or "[n]".
  bool scanR1C1Part(size_t& j, int32_t host, int32_t& value, bool& abs) const {
    if (at(j) == '[') {
      size_t k = j + 1;
      bool neg = false;
      if (at(k) == '-' || at(k) == '+') {
        neg = at(k) == '-';
        ++k;
      }
      size_t ds = k;
      int64_t n = 0;
      while (isDigit(at(k))) {
        n = n * 10 + (at(k) - '0');
        if (n > kMaxRowLimit) return false;
        ++k;
      }
      if (k == ds || at(k) != ']') return false;
      value = host + static_cast<int32_t>(neg ? -n : n);
      abs = false;
      j = k + 1;
      return true;
    }
    size_t ds = j;
    int64_t n = 0;
    while (isDigit(at(j))) {
      n = n * 10 + (at(j) - '0');
      if (n > kMaxRowLimit) return false;
      ++j;
    }
    if (j == ds) {
      value = host;
      abs = false;
    } else {
      if (n < 1) return false;
      value = static_cast<int32_t>(n);
      abs = true;
    }
    return true;
  }

  bool scanR1C1(size_t i, CellAddress& a, size_t& end) const {
    size_t j = i;
    if (at(j) != 'R' && at(j) != 'r') return false;
    ++j;
    if (!scanR1C1Part(j, o_.hostRow, a.row, a.rowAbs)) return false;
    if (at(j) != 'C' && at(j) != 'c') return false;
    ++j;
    if (!scanR1C1Part(j, o_.hostCol, a.col, a.colAbs)) return false;
    if (isIdentChar(at(j)) || at(j) == '(' || at(j) == '[') return false;
    end = j;
    return true;
  }

  bool scanCell(size_t i, CellAddress& a, size_t& end) const {
    return r1c1_ ? scanR1C1(i, a, end) : scanA1(i, a, end);
  }

  static void normalize(AreaRef& r) {
    if (r.first.col > r.last.col) {
      std::swap(r.first.col, r.last.col);
      std::swap(r.first.colAbs, r.last.colAbs);
    }
    if (r.first.row > r.last.row) {
      std::swap(r.first.row, r.last.row);
      std::swap(r.first.rowAbs, r.last.rowAbs);
    }
  }

  // A cell, a range of two cells, whole columns (A:C) or whole rows (2:5).
  bool scanReference(size_t i, AreaRef& r, size_t& end) const {
    CellAddress a;
    size_t e;
    if (scanCell(i, a, e)) {
      r = AreaRef{a, a};
      if (at(e) == ':') {
        CellAddress b;
        size_t e2;
        if (scanCell(e + 1, b, e2)) {
          r.last = b;
          e = e2;
        }
      }
      end = e;
      normalize(r);
      return true;
    }
    if (r1c1_) return false;
    // Whole columns: $?letters:$?letters
    auto scanLetters = [&](size_t j, int32_t& col, bool& abs, size_t& je) {
      abs = at(j) == '$';
      if (abs) ++j;
      size_t ls = j;
      while (isAlpha(at(j))) ++j;
      col = columnFromLetters(s_.substr(ls, j - ls));
      je = j;
      return col > 0;
    };
    auto scanDigits = [&](size_t j, int32_t& row, bool& abs, size_t& je) {
      abs = at(j) == '$';
      if (abs) ++j;
      size_t ds = j;
      int64_t n = 0;
      while (isDigit(at(j))) {
        n = n * 10 + (at(j) - '0');
        if (n > kMaxRowLimit) return false;
        ++j;
      }
      je = j;
      row = static_cast<int32_t>(n);
      return j > ds && n >= 1;
    };
    int32_t c1, c2;
    bool a1, a2;
    size_t j1, j2;
    if (scanLetters(i, c1, a1, j1) && at(j1) == ':' && scanLetters(j1 + 1, c2, a2, j2) &&
        !isIdentChar(at(j2)) && at(j2) != '(') {
      r = AreaRef{CellAddress{c1, 1, a1, true}, CellAddress{c2, kMaxRowLimit, a2, true}, true,
                  false};
      normalize(r);
      end = j2;
      return true;
    }
    if (scanDigits(i, c1, a1, j1) && at(j1) == ':' && scanDigits(j1 + 1, c2, a2, j2) &&
        !isIdentChar(at(j2)) && at(j2) != '(') {
      r = AreaRef{CellAddress{1, c1, true, a1}, CellAddress{kMaxColumnLimit, c2, true, a2}, false,
                  true};
      normalize(r);
      end = j2;
      return true;
    }
    return false;
  }

  void emitArea(const AreaRef& r, size_t begin) {
    if (spans_) spans_->push_back(RefSpan{begin, p_, r});
    c_->areas.push_back(r);
    emit(Op::Area, static_cast<uint32_t>(c_->areas.size() - 1));
  }

  // ---- primaries --------------------------------------------------------

  bool parsePrimary(bool& isRef) {
    skipSpaces();
    if (atEnd()) return fail("operand expected");
    char c = cur();
    AreaRef ref;
    size_t end;
    if ((isAlpha(c) || c == '$' || isDigit(c)) && scanReference(p_, ref, end)) {
      size_t begin = p_;
      p_ = end;
      emitArea(ref, begin);
      isRef = true;
      // The blank between two references intersects them.
      for (;;) {
        size_t save = p_;
        skipSpaces();
        if (p_ == save || atEnd()) {
          p_ = save;
          break;
        }
        AreaRef other;
        size_t e2;
        if (!scanReference(p_, other, e2)) {
          p_ = save;
          break;
        }
        size_t b2 = p_;
        p_ = e2;
        emitArea(other, b2);
        emit(Op::Intersect);
      }
      return true;
    }
    if (isDigit(c) || (c == '.' && isDigit(at(p_ + 1)))) return parseNumber();
    if (c == '"') return parseString();
    if (c == '#') return parseErrorLiteral();
    if (c == '(') {
      ++p_;
      if (!parseExpr(1)) return false;
      skipSpaces();
      if (cur() != ')') return fail("missing ')'");
      ++p_;
      return true;
    }
    if (c == '{') return parseArray();
    if (isAlpha(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80) return parseName();
    return fail(std::string("unexpected '") + c + "'");
  }

  bool parseNumber() {
    size_t b = p_;
    while (isDigit(cur())) ++p_;
    if (cur() == '.') {
      ++p_;
      while (isDigit(cur())) ++p_;
    }
    if ((cur() == 'e' || cur() == 'E') &&
        (isDigit(at(p_ + 1)) ||
         ((at(p_ + 1) == '+' || at(p_ + 1) == '-') && isDigit(at(p_ + 2))))) {
      p_ += 2;
      while (isDigit(cur())) ++p_;
    }
    double v = 0;
    auto res = std::from_chars(s_.data() + b, s_.data() + p_, v);
    if (res.ec == std::errc::result_out_of_range) {
      v = std::strtod(std::string(s_.substr(b, p_ - b)).c_str(), nullptr);  // underflow reads as 0
      if (!std::isfinite(v)) return fail("number out of range");
    }
    if (!std::isfinite(v)) return fail("number out of range");
    c_->numbers.push_back(v);
    emit(Op::Number, static_cast<uint32_t>(c_->numbers.size() - 1));
    return true;
  }

  bool readString(std::string& out) {
    ++p_;  // opening quote
    for (;;) {
      if (atEnd()) return fail("unterminated text");
      char c = s_[p_++];
      if (c == '"') {
        if (cur() == '"') {
          out.push_back('"');
          ++p_;
          continue;
        }
        return true;
      }
      out.push_back(c);
    }
  }

  bool parseString() {
    std::string text;
    if (!readString(text)) return false;
    if (text.size() > 32767) return fail("text longer than 32767 characters");
    c_->texts.push_back(std::move(text));
    emit(Op::Text, static_cast<uint32_t>(c_->texts.size() - 1));
    return true;
  }

  bool readErrorLiteral(ErrorCode& e) {
    for (auto code : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                      ErrorCode::Name, ErrorCode::Num, ErrorCode::NA}) {
      std::string_view t = errorText(code);
      if (s_.size() - p_ >= t.size() && equalNoCase(s_.substr(p_, t.size()), t)) {
        p_ += t.size();
        e = code;
        return true;
      }
    }
    return fail("unknown error value");
  }

  bool parseErrorLiteral() {
    ErrorCode e = ErrorCode::Value;
    if (!readErrorLiteral(e)) return false;
    emit(Op::Error, static_cast<uint32_t>(e));
    return true;
  }

  bool parseArray() {
    ++p_;
    auto m = std::make_shared<Matrix>();
    int32_t cols = 0, colInRow = 0;
    for (;;) {
      skipSpaces();
      Value v;
      char c = cur();
      if (c == '"') {
        std::string t;
        if (!readString(t)) return false;
        v = Value::text(std::move(t));
      } else if (c == '#') {
        ErrorCode e = ErrorCode::Value;
        if (!readErrorLiteral(e)) return false;
        v = Value::error(e);
      } else if (isAlpha(c)) {
        size_t b = p_;
        while (isAlpha(cur())) ++p_;
        std::string_view w = s_.substr(b, p_ - b);
        if (equalNoCase(w, "TRUE"))
          v = Value::boolean(true);
        else if (equalNoCase(w, "FALSE"))
          v = Value::boolean(false);
        else
          return fail("constant expected in array");
      } else {
        bool neg = false;
        if (c == '-' || c == '+') {
          neg = c == '-';
          ++p_;
        }
        size_t b = p_;
        char* endp = nullptr;
        std::string rest(s_.substr(p_, std::min<size_t>(64, s_.size() - p_)));
        double d = std::strtod(rest.c_str(), &endp);
        size_t used = static_cast<size_t>(endp - rest.c_str());
        if (used == 0 || (!isDigit(rest[0]) && rest[0] != '.'))
          return fail("constant expected in array");
        if (!std::isfinite(d)) return fail("number out of range");
        p_ = b + used;
        v = Value::number(neg ? -d : d);
      }
      m->values.push_back(std::move(v));
      ++colInRow;
      if (m->values.size() > 65536) return fail("array constant too large");
      skipSpaces();
      c = cur();
      if (c == ',') {
        ++p_;
        continue;
      }
      if (c == ';' || c == '}') {
        if (cols == 0)
          cols = colInRow;
        else if (cols != colInRow)
          return fail("array rows of different lengths");
        colInRow = 0;
        ++p_;
        if (c == '}') break;
        continue;
      }
      return fail("',' ';' or '}' expected in array");
    }
    m->cols = cols;
    m->rows = static_cast<int32_t>(m->values.size()) / cols;
    c_->arrays.push_back(std::move(m));
    emit(Op::Array, static_cast<uint32_t>(c_->arrays.size() - 1));
    return true;
  }

  bool parseName() {
    size_t b = p_;
    while (isIdentChar(cur()) || static_cast<unsigned char>(cur()) >= 0x80) ++p_;
    std::string_view name = s_.substr(b, p_ - b);
    size_t save = p_;
    skipSpaces();
    if (cur() == '(') {
      ++p_;
      return parseCall(name);
    }
    p_ = save;
    if (equalNoCase(name, "TRUE")) {
      emit(Op::Bool, 1);
      return true;
    }
    if (equalNoCase(name, "FALSE")) {
      emit(Op::Bool, 0);
      return true;
    }
    // An undefined name: accepted, it evaluates to #NAME?.
    emit(Op::Error, static_cast<uint32_t>(ErrorCode::Name));
    return true;
  }

  // Parses one argument; an omitted one (",," or "(,") becomes Missing.
  bool parseArgument() {
    skipSpaces();
    if (cur() == ',' || cur() == ')') {
      emit(Op::Missing);
      return true;
    }
    return parseExpr(1);
  }

  // After an argument: "," (true, more follow) or ")" (false, done).
  bool argumentSeparator(bool& more) {
    skipSpaces();
    if (cur() == ',') {
      ++p_;
      more = true;
      return true;
    }
    if (cur() == ')') {
      ++p_;
      more = false;
      return true;
    }
    return fail("',' or ')' expected");
  }

  bool parseCall(std::string_view name) {
    if (!enter()) return false;
    const CustomFunction* custom = o_.customFunctions ? o_.customFunctions->find(name) : nullptr;
    int builtin = findBuiltin(name);
    if (custom && (builtin < 0 || (custom->flags & kCustomOverridesBuiltin)))
      builtin = -1;
    else
      custom = nullptr;
    const BuiltinFunction* fn = builtin >= 0 ? &builtinAt(builtin) : nullptr;

    if (fn && (fn->flags & (kBuiltinIf | kBuiltinIfError))) {
      if (!parseLazy(*fn)) return false;
      --depth_;
      return true;
    }
    bool arrayArgs = fn && (fn->flags & kBuiltinArrayArgs);
    bool positionArgs = fn && (fn->flags & kBuiltinPositionArgs);
    if (arrayArgs) ++arrayCtx_;
    int argc = 0;
    skipSpaces();
    if (cur() == ')') {
      ++p_;
    } else {
      bool more = true;
      while (more) {
        const size_t argStart = c_->code.size();
        if (!parseArgument()) return false;
        if (positionArgs) markPositionOnly(argStart);
        if (++argc > 255) return fail("too many arguments");
        if (!argumentSeparator(more)) return false;
      }
    }
    if (arrayArgs) --arrayCtx_;
    if (fn) {
      if (argc < fn->minArgs || argc > fn->maxArgs)
        return fail("wrong number of arguments for " + upperText(name));
      emit(Op::Call, static_cast<uint32_t>(builtin), static_cast<uint16_t>(argc));
    } else {
      std::string upper = upperText(name);
      if (custom && (argc < custom->minArgs || argc > custom->maxArgs))
        return fail("wrong number of arguments for " + upper);
      c_->texts.push_back(upper);
      c_->usesVolatileNames = true;
      emit(Op::CallName, static_cast<uint32_t>(c_->texts.size() - 1), static_cast<uint16_t>(argc));
    }
    --depth_;
    return true;
  }

  // An argument that compiled to one reference and nothing else is read
  // for its position only.
  void markPositionOnly(size_t argStart) {
    if (c_->code.size() != argStart + 1 || c_->code[argStart].op != Op::Area) return;
    c_->areas[c_->code[argStart].a].positionOnly = true;
  }

  // IF(condition, then, [else]) and IFERROR(value, fallback) as jumps.
  //
  // The evaluator relies on IF's layout (Evaluator::evaluate, Op::JumpIfNot):
  //   condition, JumpIfNot -> else, then-branch, Jump -> end, else: else-branch, end:
  // The instruction just before the else branch is always the Jump to the
  // end; an error condition jumps through it past both branches. Keep the
  // two in step when changing either.
  bool parseLazy(const BuiltinFunction& fn) {
    bool more = false;
    if (!parseArgument()) return false;
    if (!argumentSeparator(more)) return false;
    if (!more) return fail(std::string("wrong number of arguments for ") + fn.name);
    if (fn.flags & kBuiltinIfError) {
      size_t j = emit(Op::JumpIfNoError);
      if (!parseArgument()) return false;
      if (!argumentSeparator(more)) return false;
      if (more) return fail("wrong number of arguments for IFERROR");
      patch(j);
      return true;
    }
    size_t jElse = emit(Op::JumpIfNot);
    if (!parseArgument()) return false;
    if (!argumentSeparator(more)) return false;
    size_t jEnd = emit(Op::Jump);
    patch(jElse);
    if (more) {
      if (!parseArgument()) return false;
      if (!argumentSeparator(more)) return false;
      if (more) return fail("wrong number of arguments for IF");
    } else {
      emit(Op::Bool, 0);
    }
    patch(jEnd);
    return true;
  }
};

}  // namespace

krv::base::Result<FormulaCode> parseFormula(std::string_view text, const ParseOptions& options) {
  FormulaCode code;
  std::string err;
  Parser parser(text, options, nullptr);
  if (!parser.run(code, err)) return krv::base::Status::error(std::move(err));
  return code;
}

namespace {

// Writes a formula again with each reference replaced by what `write`
// makes of it (the area as read and its text as written); everything else
// stays as written. nullopt when the formula cannot be read or `write`
// gives up.
template <class Write>
std::optional<std::string> rewriteReferences(std::string_view text, const ParseOptions& o,
                                             Write&& write) {
  std::vector<RefSpan> spans;
  FormulaCode code;
  std::string err;
  Parser parser(text, o, &spans);
  if (!parser.run(code, err)) return std::nullopt;
  std::string out;
  out.reserve(text.size() + 8);
  size_t pos = 0;
  for (const RefSpan& s : spans) {
    out.append(text.substr(pos, s.begin - pos));
    std::optional<std::string> ref = write(s.area, text.substr(s.begin, s.end - s.begin));
    if (!ref) return std::nullopt;
    out += *ref;
    pos = s.end;
  }
  out.append(text.substr(pos));
  return out;
}

bool sameAddress(const CellAddress& a, const CellAddress& b) {
  return a.col == b.col && a.row == b.row && a.colAbs == b.colAbs && a.rowAbs == b.rowAbs;
}

// Moves one dimension (rows or columns) of an area with a line shift.
// Parts outside the sheet (an R1C1 offset pointing before the first line)
// stay where they are. False when the area's lines are all deleted.
bool shiftArea(AreaRef& a, const LineShift& shift) {
  bool whole = shift.rows ? a.wholeColumns : a.wholeRows;
  if (whole) return true;
  int32_t& lo = shift.rows ? a.first.row : a.first.col;
  int32_t& hi = shift.rows ? a.last.row : a.last.col;
  if (lo < 1) return true;
  if (!shift.mapBlock(lo, hi)) return false;
  const int32_t limit = shift.rows ? kMaxRowLimit : kMaxColumnLimit;
  if (lo > limit) return false;
  hi = std::min(hi, limit);
  return true;
}

std::string formatAreaA1(const AreaRef& a) {
  // Built by appending: chains of operator+ on temporaries trip a false
  // -Wrestrict warning of g++ 12 at -O3.
  std::string s;
  if (a.wholeColumns || a.wholeRows) {
    const bool cols = a.wholeColumns;
    const auto part = [&](const CellAddress& c) {
      if (cols ? c.colAbs : c.rowAbs) s += '$';
      s += cols ? columnLetters(c.col) : std::to_string(c.row);
    };
    part(a.first);
    s += ':';
    part(a.last);
    return s;
  }
  s = formatA1(a.first);
  if (a.isSingleCell() && sameAddress(a.first, a.last)) return s;
  s += ':';
  s += formatA1(a.last);
  return s;
}

std::string formatAreaR1C1(const AreaRef& a, int32_t hostCol, int32_t hostRow) {
  std::string s = formatR1C1(a.first, hostCol, hostRow);
  if (!(a.isSingleCell() && sameAddress(a.first, a.last))) {
    s += ':';
    s += formatR1C1(a.last, hostCol, hostRow);
  }
  return s;
}

}  // namespace

std::optional<std::string> readdressReferences(std::string_view text, ReferenceStyle style,
                                               int32_t hostCol, int32_t hostRow,
                                               const LineShift& shift) {
  ParseOptions o;
  o.style = style;
  o.hostCol = hostCol;
  o.hostRow = hostRow;
  const bool r1c1 = style == ReferenceStyle::R1C1;
  // The formula's own cell moves with the lines too (a deleted host keeps
  // its place: its formula goes away with it).
  int32_t newCol = hostCol, newRow = hostRow;
  if (int32_t n = shift.map(shift.rows ? hostRow : hostCol); n > 0)
    (shift.rows ? newRow : newCol) = n;
  return rewriteReferences(
      text, o, [&](const AreaRef& area, std::string_view written) -> std::optional<std::string> {
        AreaRef a = area;
        if (!shiftArea(a, shift)) return std::string("#REF!");
        if (r1c1) {
          std::string now = formatAreaR1C1(a, newCol, newRow);
          return now == formatAreaR1C1(area, hostCol, hostRow) ? std::string(written) : now;
        }
        if (sameAddress(a.first, area.first) && sameAddress(a.last, area.last))
          return std::string(written);
        return formatAreaA1(a);
      });
}

std::optional<std::string> convertReferenceStyle(std::string_view text, ReferenceStyle from,
                                                 ReferenceStyle to, int32_t hostCol,
                                                 int32_t hostRow) {
  bool fromR1C1 = from == ReferenceStyle::R1C1, toR1C1 = to == ReferenceStyle::R1C1;
  if (fromR1C1 == toR1C1) return std::string(text);
  ParseOptions o;
  o.style = from;
  o.hostCol = hostCol;
  o.hostRow = hostRow;
  auto cell = [&](const CellAddress& a) {
    if (toR1C1) return formatR1C1(a, hostCol, hostRow);
    if (a.col < 1 || a.row < 1) return std::string("#REF!");
    return formatA1(a);
  };
  return rewriteReferences(
      text, o, [&](const AreaRef& area, std::string_view) -> std::optional<std::string> {
        if (area.wholeColumns || area.wholeRows) return std::nullopt;
        std::string s = cell(area.first);
        if (!area.isSingleCell()) {
          s += ':';
          s += cell(area.last);
        }
        return s;
      });
}

}  // namespace krv::sheet
