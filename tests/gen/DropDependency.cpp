// drop_dependency MODEL.toml ACTIVITY PLACE DIR: generates the model like tavrin_gen, but
// with PLACE taken out of the places ACTIVITY's enabling reads, to build the simulator the
// model would have if the generator missed that dependency. Only the tests use it.

#include <algorithm>
#include <iostream>

#include "Generator.h"
#include "ModelError.h"
#include "ModelReader.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "Usage: drop_dependency MODEL.toml ACTIVITY PLACE DIR\n";
    return 1;
  }
  try {
    Model model = ReadModelFile(argv[1]);
    bool dropped = false;
    for (ActivityDef& a : model.activities) {
      if (a.name != argv[2]) continue;
      auto at = std::find(a.enablingPlaces.begin(), a.enablingPlaces.end(), argv[3]);
      if (at == a.enablingPlaces.end()) break;
      a.enablingPlaces.erase(at);
      dropped = true;
    }
    if (!dropped) {
      std::cerr << "drop_dependency: " << argv[2] << " does not read " << argv[3] << "\n";
      return 1;
    }
    std::string problem = GenerateModel(model).WriteTo(argv[4], {{kAllSourcesFile, true}});
    if (!problem.empty()) {
      std::cerr << "drop_dependency: " << problem << "\n";
      return 1;
    }
  } catch (const ModelError& error) {
    std::cerr << argv[1] << ":" << error.Pos.line << ":" << error.Pos.column << ": " << error.what() << "\n";
    return 1;
  }
  return 0;
}
