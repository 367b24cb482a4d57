#include "platform/win/reg_hive.h"

#include <algorithm>
#include <chrono>

#include "platform/win/reg_text.h"

namespace wenmoor::platform {

namespace {

template <class Vec, class Proj>
auto LowerBound(Vec& v, std::string_view fold, Proj proj) {
  return std::lower_bound(v.begin(), v.end(), fold,
                          [&](const auto& item, std::string_view f) { return proj(item) < f; });
}

const std::string& NodeFold(const std::unique_ptr<RegNode>& n) { return n->fold; }
const std::string& ValueFold(const RegNamedValue& v) { return v.fold; }

}  // namespace

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

uint64_t FileTimeNow() {
  constexpr uint64_t kTicks1601To1970 = 116444736000000000ULL;
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch).count() / 100;
  return kTicks1601To1970 + static_cast<uint64_t>(ticks);
}

RegNode* RegNode::FindSubkey(std::string_view name_fold) const {
  auto it = LowerBound(subkeys, name_fold, NodeFold);
  return it != subkeys.end() && (*it)->fold == name_fold ? it->get() : nullptr;
}

const RegNamedValue* RegNode::FindValue(std::string_view name) const {
  const std::string fold = FoldName(name);
  auto it = LowerBound(values, fold, ValueFold);
  return it != values.end() && it->fold == fold ? &*it : nullptr;
}

std::string RegNode::Path() const {
  if (!parent) return {};
  std::string up = parent->Path();
  return up.empty() ? name : up + "\\" + name;
}

RegHive::RegHive() : root_(std::make_unique<RegNode>()) {}

RegNode* RegHive::Find(std::string_view path) const {
  RegNode* node = root_.get();
  for (std::string_view part : SplitKeyPath(path)) {
    node = node->FindSubkey(FoldName(part));
    if (!node) return nullptr;
  }
  return node;
}

RegNode& RegHive::Create(std::string_view path, uint64_t now, ParentTime parents) {
  RegNode* node = root_.get();
  for (std::string_view part : SplitKeyPath(path)) {
    std::string fold = FoldName(part);
    auto it = LowerBound(node->subkeys, fold, NodeFold);
    if (it == node->subkeys.end() || (*it)->fold != fold) {
      auto child = std::make_unique<RegNode>();
      child->name = std::string(part);
      child->fold = std::move(fold);
      child->parent = node;
      child->modified = now;
      if (parents == ParentTime::Touch) node->modified = now;
      it = node->subkeys.insert(it, std::move(child));
    }
    node = it->get();
  }
  return *node;
}

bool RegHive::DeleteTree(std::string_view path, uint64_t now) {
  RegNode* node = Find(path);
  if (!node || !node->parent) return false;
  RegNode* parent = node->parent;
  auto it = LowerBound(parent->subkeys, node->fold, NodeFold);
  parent->subkeys.erase(it);
  parent->modified = now;
  return true;
}

void RegHive::PutValue(RegNode& node, std::string_view name, RegValue value) {
  std::string fold = FoldName(name);
  auto it = LowerBound(node.values, fold, ValueFold);
  if (it != node.values.end() && it->fold == fold) {
    it->value = std::move(value);
  } else {
    node.values.insert(it, RegNamedValue{std::string(name), std::move(fold), std::move(value)});
  }
}

void RegHive::SetValue(std::string_view path, std::string_view name, const RegValue& value,
                       uint64_t now) {
  RegNode& node = Create(path, now);
  PutValue(node, name, value);
  node.modified = now;
}

bool RegHive::DeleteValue(std::string_view path, std::string_view name, uint64_t now) {
  RegNode* node = Find(path);
  if (!node) return false;
  const std::string fold = FoldName(name);
  auto it = LowerBound(node->values, fold, ValueFold);
  if (it == node->values.end() || it->fold != fold) return false;
  node->values.erase(it);
  node->modified = now;
  return true;
}

}  // namespace wenmoor::platform
