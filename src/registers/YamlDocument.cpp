#include "registers/YamlDocument.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/mark.h>

#include <optional>
#include <sstream>
#include <vector>

#include "registers/NestingGuard.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

namespace {

SourcePosition positionOf(const YAML::Mark& mark) {
  if (mark.line < 0 || mark.column < 0) return {};
  return {mark.line + 1, mark.column + 1};
}

// Where each document starts, and whether it held anything but a null; nothing is built.
class DocumentStarts : public YAML::EventHandler {
 public:
  struct Document {
    YAML::Mark start;
    bool content = false;
  };
  std::vector<Document> documents;

  void OnDocumentStart(const YAML::Mark& mark) override { documents.push_back({mark, false}); }
  void OnDocumentEnd() override {}
  void OnNull(const YAML::Mark&, YAML::anchor_t) override {}
  void OnAlias(const YAML::Mark&, YAML::anchor_t) override { held(); }
  void OnScalar(const YAML::Mark&, const std::string&, YAML::anchor_t, const std::string&) override {
    held();
  }
  void OnSequenceStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                       YAML::EmitterStyle::value) override {
    held();
  }
  void OnSequenceEnd() override {}
  void OnMapStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                  YAML::EmitterStyle::value) override {
    held();
  }
  void OnMapEnd() override {}

 private:
  void held() {
    if (!documents.empty()) documents.back().content = true;
  }
};

// The first two documents at most: a stray token comes back as a document of its own again
// and again, so the parser is never asked for a third.
std::vector<DocumentStarts::Document> firstDocuments(const std::string& text) {
  std::istringstream stream(text);
  YAML::Parser parser(stream);
  DocumentStarts starts;
  for (int i = 0; i < 2 && parser.HandleNextDocument(starts); ++i) {
  }
  return starts.documents;
}

}  // namespace

YAML::Node loadOneDocument(const std::string& text, const std::string& file) {
  if (const auto problem = nestingProblem(text)) throw contentError(file, problem->at, problem->what);
  try {
    const std::vector<DocumentStarts::Document> documents = firstDocuments(text);
    if (documents.empty()) throw contentError(file, {}, "the description is empty");
    if (!documents[0].content) {
      throw contentError(file, positionOf(documents[0].start),
                         "the description is not a mapping of keys and values");
    }
    if (documents.size() > 1) {
      throw contentError(file, positionOf(documents[1].start),
                         "text after the end of the description (a description is one YAML "
                         "document)");
    }
    return YAML::Load(text);
  } catch (const YAML::Exception& error) {
    throw contentError(file, positionOf(error.mark), "not YAML: " + error.msg);
  }
}

}  // namespace brelvion::registers
