#include "shell/registry_test_support.h"

namespace trelik::testing {
namespace {

void AppendLayout(const RegistryNode& node, const std::string& path,
                  std::vector<std::string>& lines) {
  if (!path.empty()) {
    if (node.values.empty()) lines.push_back(path);
    for (const auto& value : node.values) {
      lines.push_back(path + " " + (value.name.empty() ? "@" : value.name) + "=" + value.data);
    }
  }
  for (const auto& subkey : node.subkeys) {
    AppendLayout(subkey, path.empty() ? subkey.name : path + "\\" + subkey.name, lines);
  }
}

// Removes a key with everything below it, whatever order the backend lists subkeys in.
void RemoveTree(Registry& registry, RegistryKey parent, const std::string& name) {
  {
    const OpenedKey key(registry, registry.OpenKey(parent, name));
    if (!key) return;
    for (const auto& subkey : ListSubkeys(registry, key.Get())) {
      RemoveTree(registry, key.Get(), subkey);
    }
  }
  registry.DeleteKey(parent, name);
}

}  // namespace

std::vector<std::string> Layout(const RegistryNode& root) {
  std::vector<std::string> lines;
  AppendLayout(root, "", lines);
  return lines;
}

std::string ScratchKey() {
  return std::string("TrelikConformanceTest ") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

void RegistryConformance::SetUp() {
  registry_ = GetParam().open(folder_.Path());
  RemoveTree(*registry_, RegistryKey::kRoot, ScratchKey());
}

void RegistryConformance::TearDown() { RemoveTree(*registry_, RegistryKey::kRoot, ScratchKey()); }

void PrintTo(const RegistryBackend& backend, std::ostream* out) { *out << backend.name; }

std::string BackendName(const ::testing::TestParamInfo<RegistryBackend>& info) {
  return info.param.name;
}

}  // namespace trelik::testing
