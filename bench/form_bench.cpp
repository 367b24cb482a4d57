// Loading and saving a large install script in form text: 5,000 objects,
// each with a few values and a reference to another (resolved by name).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/rtl/form_reader.h"
#include "platform/rtl/form_writer.h"

namespace wenmoor {

class TFormBenchItem : public TComponent {
  WENMOOR_CLASS(TFormBenchItem, TComponent)
 public:
  explicit TFormBenchItem(TComponent* owner) : TComponent(owner) {}
  const std::string& DestDir() const { return dest_dir_; }
  void SetDestDir(const std::string& v) { dest_dir_ = v; }
  int Order() const { return order_; }
  void SetOrder(int v) { order_ = v; }
  TFormBenchItem* Container() const { return container_; }
  void SetContainer(TFormBenchItem* c) { container_ = c; }

 private:
  std::string dest_dir_;
  int order_ = -1;
  TFormBenchItem* container_ = nullptr;
};

WENMOOR_REGISTER_CLASS(TFormBenchItem) {
  c.Prop("DestDir", &T::DestDir, &T::SetDestDir);
  c.Prop("Order", &T::Order, &T::SetOrder).Default(-1);
  c.Prop("Container", &T::Container, &T::SetContainer);
}

namespace {

std::string ScriptText(int objects) {
  std::string text = "object MainForm: TComponent\n";
  for (int i = 0; i < objects; ++i) {
    std::string n = std::to_string(i);
    text += "  object Item" + n + ": TFormBenchItem\n    DestDir = '\\Sub" + n + "'\n    Order = " + n + "\n";
    if (i > 0) text += "    Container = Item" + std::to_string(i / 2) + "\n";
    text += "  end\n";
  }
  return text + "end\n";
}

void BM_LoadScript(benchmark::State& state) {
  const std::string text = ScriptText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ComponentPtr<> root = ReadComponentFromText(text, "bench.dfm");
    benchmark::DoNotOptimize(root.get());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadScript)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_SaveScript(benchmark::State& state) {
  ComponentPtr<> root = ReadComponentFromText(ScriptText(static_cast<int>(state.range(0))), "bench.dfm");
  for (auto _ : state) {
    std::string text = WriteComponentToText(*root);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveScript)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wenmoor

BENCHMARK_MAIN();
