// Runs the formula corpora: fixture cells are typed into a sheet, then each
// case's formula is set into its own cell and its value compared with the
// expected one. Every failing case is reported with its line.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sheet/cell_document.h"
#include "platform/sheet/formula_number_text.h"

namespace krv::sheet {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == '\t')
      out.emplace_back();
    else
      out.back().push_back(c);
  }
  return out;
}

std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[++i];
      out.push_back(n == 't' ? '\t' : n == 'n' ? '\n' : n);
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

std::string describe(const Value& v) {
  switch (v.type()) {
    case ValueType::Empty:
      return "empty";
    case ValueType::Number: {
      char b[40];
      std::snprintf(b, sizeof b, "number %.15g", v.number());
      return b;
    }
    case ValueType::Text:
      return "text \"" + v.text() + "\"";
    case ValueType::Bool:
      return std::string("bool ") + (v.boolean() ? "TRUE" : "FALSE");
    case ValueType::Error:
      return std::string("error ") + errorText(v.error());
  }
  return "?";
}

// Returns an empty text when the value matches, else what differs.
std::string check(const Value& got, const std::string& type, const std::string& expected) {
  bool ok = false;
  if (type == "number") {
    double want = std::strtod(expected.c_str(), nullptr);
    if (got.isNumber()) {
      double diff = std::fabs(got.number() - want);
      ok = diff <= 1e-12 || diff <= 1e-9 * std::fabs(want);
    }
  } else if (type == "text") {
    ok = got.isText() && got.text() == unescape(expected);
  } else if (type == "bool") {
    ok = got.isBool() && got.boolean() == (expected == "TRUE");
  } else if (type == "error") {
    ok = got.isError() && expected == errorText(got.error());
  } else if (type == "empty") {
    ok = got.isEmpty();
  } else {
    return "unknown expected type " + type;
  }
  return ok ? std::string() : "expected " + type + " " + expected + ", got " + describe(got);
}

struct CorpusResult {
  int cases = 0;
  std::vector<std::string> failures;
};

CorpusResult runCorpus(const std::string& path) {
  CorpusResult result;
  std::ifstream in(path);
  if (!in) {
    result.failures.push_back("cannot open " + path);
    return result;
  }
  CellDocument doc;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto f = splitTabs(line);
    std::string where =
        path.substr(path.find_last_of('/') + 1) + ":" + std::to_string(lineNo) + ": ";
    auto addr = f.size() > 1 ? parseA1(f[1]) : std::nullopt;
    if (!addr) {
      result.failures.push_back(where + "malformed record");
      continue;
    }
    if (f[0] == "cell" && f.size() >= 3) {
      if (const krv::base::Status set = doc.setCellText(addr->col, addr->row, f[2]); !set)
        result.failures.push_back(where + "fixture " + f[2] + " refused: " + set.message());
      continue;
    }
    if (f[0] != "case" || f.size() < 5) {
      result.failures.push_back(where + "malformed record");
      continue;
    }
    ++result.cases;
    if (const krv::base::Status set = doc.setFormula(addr->col, addr->row, f[2]); !set) {
      result.failures.push_back(where + f[2] + " refused: " + set.message());
      continue;
    }
    std::string diff = check(doc.value(addr->col, addr->row), f[3], f[4]);
    if (!diff.empty())
      result.failures.push_back(where + f[2] + ": " + diff +
                                (f.size() > 5 && !f[5].empty() ? "  [" + f[5] + "]" : ""));
  }
  return result;
}

void expectCorpusPasses(const std::string& path, int minimumCases) {
  CorpusResult r = runCorpus(path);
  std::ostringstream all;
  for (const auto& f : r.failures) all << f << "\n";
  EXPECT_GE(r.cases, minimumCases);
  EXPECT_TRUE(r.failures.empty()) << r.failures.size() << " of " << r.cases << " cases failed:\n"
                                  << all.str();
}

TEST(FormulaCorpus, HandMadeSmokeCorpusPasses) {
  expectCorpusPasses(std::string(KRV_TESTDATA_DIR) + "/corpus_smoke.tsv", 10);
}

TEST(FormulaCorpus, GeneratedCorpusPasses) {
  std::string path = std::string(KRV_TESTDATA_DIR) + "/formula_corpus.tsv";
  if (!std::ifstream(path)) GTEST_SKIP() << "no generated corpus at " << path;
  expectCorpusPasses(path, 500);
}

}  // namespace
}  // namespace krv::sheet
