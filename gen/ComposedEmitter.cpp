#include "ComposedEmitter.h"

#include <algorithm>
#include <cctype>

#include "EmitSupport.h"
#include "Format.h"

namespace {

// The class a child name stands for, and its header when it is a submodel.
std::string ChildClass(const Model& model, const std::string& child) {
  if (const Model* sub = model.FindSubmodel(child)) return SanClass(*sub);
  return NodeClass(*model.FindNode(child));
}

void EmitReplicate(const Model& model, const CompositionNode& n, CodeWriter& out) {
  std::string cls = NodeClass(n);
  out << "\n// " << n.name << ": copies of " << n.child << "\n";
  out << cls << "::" << cls << "() {\n";
  if (!n.sharedPlaces.empty()) {
    out << "  const char* shared[] = {";
    for (size_t i = 0; i < n.sharedPlaces.size(); i++) out << (i == 0 ? "" : ", ") << QuotedString(n.sharedPlaces[i]);
    out << "};\n";
  }
  out << "  initializeRepModelNow(" << QuotedString(n.name) << ", static_cast<int>(" << n.count << "),\n"
      << "                        [] { return static_cast<BaseModelClass*>(new " << ChildClass(model, n.child)
      << "()); },\n"
      << "                        " << static_cast<int>(n.sharedPlaces.size()) << ", "
      << (n.sharedPlaces.empty() ? "nullptr" : "shared") << ");\n}\n";
}

void EmitJoin(const Model& model, const CompositionNode& n, CodeWriter& out) {
  std::string cls = NodeClass(n);
  out << "\n// " << n.name << ": a join of";
  for (const std::string& c : n.children) out << " " << c;
  out << "\n" << cls << "::" << cls << "() {\n";
  out << "  BaseModelClass* children[] = {";
  for (size_t i = 0; i < n.children.size(); i++) out << (i == 0 ? "" : ", ") << "new " << ChildClass(model, n.children[i]) << "()";
  out << "};\n";
  for (const JoinShared& js : n.shared) {
    out << "  const JoinPlace " << js.name << "Places[] = {";
    for (size_t i = 0; i < js.places.size(); i++) {
      int child = static_cast<int>(std::find(n.children.begin(), n.children.end(), js.places[i].child) - n.children.begin());
      out << (i == 0 ? "" : ", ") << "{" << child << ", " << QuotedString(js.places[i].place) << "}";
    }
    out << "};\n";
  }
  if (!n.shared.empty()) {
    out << "  const JoinSharedVariable shared[] = {";
    for (size_t i = 0; i < n.shared.size(); i++)
      out << (i == 0 ? "" : ", ") << "{" << QuotedString(n.shared[i].name) << ", "
          << static_cast<int>(n.shared[i].places.size()) << ", " << n.shared[i].name << "Places}";
    out << "};\n";
  }
  out << "  initializeJoinModelNow(" << QuotedString(n.name) << ", " << static_cast<int>(n.children.size())
      << ", children, " << static_cast<int>(n.shared.size()) << ", " << (n.shared.empty() ? "nullptr" : "shared")
      << ");\n}\n";
}

}  // namespace

void EmitComposedModel(const Model& model, GeneratedFiles& files) {
  std::string header = ComposedHeader(model);
  CodeWriter h(header);
  std::string guard = model.name + "COMPOSED_H";
  for (char& c : guard) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  h << GeneratedBanner(model) << "#ifndef " << guard << "\n#define " << guard << "\n\n";
  h << "#include \"framework/composed/JoinModel.h\"\n#include \"framework/composed/RepModel.h\"\n\n";
  if (!model.globals.empty()) {
    h << "// The model's global variables, given their values by the study of each experiment.\n";
    for (const Global& g : model.globals) h << "extern " << TypeName(g.type) << " " << g.name << ";\n";
    h << "\n";
  }
  h << "// The composition of " << model.name << ", top node " << model.root << ".\n";
  for (const CompositionNode& n : model.nodes) {
    h << "\n// " << NodeClass(n) << ": ";
    if (n.replicate) {
      h << "the replicated model \"" << n.name << "\", " << n.count << (n.count == "1" ? " copy of " : " copies of ") << n.child;
      if (!n.sharedPlaces.empty()) {
        h << " sharing";
        for (const std::string& p : n.sharedPlaces) h << " " << p;
      }
    } else {
      h << "the join \"" << n.name << "\" of";
      for (const std::string& c : n.children) h << " " << c;
    }
    h << ".\nclass " << NodeClass(n) << " : public ::" << (n.replicate ? "RepModel" : "JoinModel")
      << " {\n public:\n  " << NodeClass(n) << "();\n};\n";
  }
  h << "\n#endif\n";
  files.Add(header, h.Text());

  std::string path = "Composed/" + model.name + "/" + model.name + "Composed.cpp";
  CodeWriter c(path);
  c << GeneratedBanner(model) << "#include \"" << header << "\"\n\n";
  for (const Model& sub : model.submodels) c << "#include \"" << SanHeader(sub) << "\"\n";
  for (const CompositionNode& n : model.nodes) {
    if (n.replicate)
      EmitReplicate(model, n, c);
    else
      EmitJoin(model, n, c);
  }
  files.Add(path, c.Text());
}
