// The native functions another library reaches by name in libmain.so, with
// the signatures it checks before calling them.
#include <dlfcn.h>

#include "ToolFixture.h"
#include "runtime/ProcedureCall.h"

namespace {

class NativeEntriesTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    std::string error;
    library_ = gr::openProcedureLibrary("main.dll", error);
    ASSERT_NE(library_, nullptr) << error;
  }
  void TearDown() override {
    if (library_) dlclose(library_);
    ToolFixture::TearDown();
  }
  // The entry, when its signature is SIGNATURE.
  template <class F>
  F* entry(const std::string& symbol, const std::string& signature) {
    gr::EntryLookup found = gr::lookUpEntry(library_, symbol);
    EXPECT_NE(found.entry, nullptr) << symbol;
    EXPECT_EQ(found.signature, signature) << symbol;
    return found.signature == signature ? reinterpret_cast<F*>(found.entry) : nullptr;
  }

  void* library_ = nullptr;
};

TEST_F(NativeEntriesTest, SortPutLiteralValueToCellAndExecuteVoidFunctionAreExported) {
  auto* sort = entry<void(std::string&)>("L0_Func_Sort", "v(S)");
  ASSERT_NE(sort, nullptr);
  std::string list = "b,,a,c";
  testing::internal::CaptureStdout();
  sort(list);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(list, "a,b,c");

  auto* put = entry<void(L0_Var_2, L0_Var_2)>("L0_Func_PutLiteralValueToCell", "v(oo)");
  ASSERT_NE(put, nullptr);
  L0_Var_2 source = create("PaletteBox"), cell = create("ChoiceItem");
  RepId label = CreatePropertyType("label", BaseType_STRING);
  AddPropertyType(source.actualClassId(), label);
  source.setAttr("label", "Order");
  put(source, cell);
  EXPECT_EQ(attr(cell, "value"), "Order");

  auto* run = entry<void(std::string, std::string)>("L0_Func_executeVoidFunction", "v(ss)");
  ASSERT_NE(run, nullptr);
  run("grtest_procedures.dll", "_L0_Func_void_entry");
  EXPECT_EQ(messages(), std::vector<std::string>{"void entry ran"});
}

}  // namespace
