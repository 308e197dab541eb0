#include "standards/standards_evaluation_record.h"

#include "platform/base/record_file.h"

namespace krv::standards {

using base::JsonIo;
using base::Record;
using R = StandardsEvaluationRecord;

namespace {

void mapGeneralVariable(JsonIo& io, R::GeneralVariable& g) {
  io.field("name", g.name, base::Text{true});
  io.optional("value", g.value, std::string());
}

void mapVariable(JsonIo& io, R::Variable& v) {
  io.field("name", v.name, base::Text{true});
  io.optional("kind", v.kind, std::string());
  io.optional("type", v.type, std::string());
  io.optional("before", v.before, std::string());
  io.optional("after", v.after, std::string());
}

}  // namespace

const base::DocumentKind& standardsEvaluationFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane standards evaluation";
    k.version = 1;
    k.what = "standards evaluation file";
    k.limits.maxBytes = 16u * 1024u * 1024u;
    k.limits.maxDepth = 8;
    return k;
  }();
  return kind;
}

void mapStandardsEvaluation(JsonIo& io, R& r) {
  io.field("standard", r.standard, base::Text{true});
  io.field("macro", r.macro, base::Text{true});
  io.optional("caller", r.caller, std::string());
  io.optional("moduleGroup", r.moduleGroup, std::string());
  io.optional("library", r.library, std::string());
  io.list("generalVariables", r.generalVariables, Record<R::GeneralVariable>{mapGeneralVariable});
  io.list("variables", r.variables, Record<R::Variable>{mapVariable});
  if (io.reading() && io.ok() && !r.caller.empty() && !r.moduleGroup.empty())
    io.fail("moduleGroup", "\"caller\" and \"moduleGroup\" exclude each other");
}

base::Status standardsEvaluationFromText(std::string_view text, R& r) {
  R fresh;
  base::Status s = base::readRecordText(text, standardsEvaluationFileKind(),
                                        [&](JsonIo& io) { mapStandardsEvaluation(io, fresh); });
  if (s) r = fresh;
  return s;
}

base::Status readStandardsEvaluationFile(const std::filesystem::path& file, R& r) {
  R fresh;
  base::Status s = base::readRecordFile(file, standardsEvaluationFileKind(),
                                        [&](JsonIo& io) { mapStandardsEvaluation(io, fresh); });
  if (s) r = fresh;
  return s;
}

std::string standardsEvaluationToText(const R& r) {
  R copy = r;
  return base::recordText(standardsEvaluationFileKind(),
                          [&](JsonIo& io) { mapStandardsEvaluation(io, copy); });
}

base::Status writeStandardsEvaluationFile(const std::filesystem::path& file, const R& r) {
  R copy = r;
  return base::writeRecordFile(file, standardsEvaluationFileKind(),
                               [&](JsonIo& io) { mapStandardsEvaluation(io, copy); });
}

}  // namespace krv::standards
