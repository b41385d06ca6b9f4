#include "Generator.h"

#include "AtomicEmitter.h"
#include "ComposedEmitter.h"
#include "EmitSupport.h"
#include "RewardEmitter.h"
#include "StudyEmitter.h"

const char* const kAllSourcesFile = "model_sources.cpp";

GeneratedFiles GenerateModel(const Model& model) {
  GeneratedFiles files;
  if (model.Composed()) {
    for (const Model& sub : model.submodels) EmitAtomicModel(sub, files);
    EmitComposedModel(model, files);
  } else {
    EmitAtomicModel(model, files);
  }
  EmitRewardModel(model, files);
  EmitStudy(model, files);
  EmitStudyDescription(model, files);
  std::string all = GeneratedBanner(model) + "// Every source of the model, compiled as one unit.\n";
  for (const auto& [path, content] : files.Files) {
    (void)content;
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".cpp") == 0) all += "#include \"" + path + "\"\n";
  }
  files.Add(kAllSourcesFile, all);
  return files;
}
