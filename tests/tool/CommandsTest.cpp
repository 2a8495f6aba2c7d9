#include "ToolFixture.h"
#include "tool/Commands.h"

namespace {

using CommandsTest = ToolFixture;

TEST_F(CommandsTest, PastesIntoOneDiagramGatherInOneCommandUntilAnotherDiagramIntervenes) {
  L0_Var_2 a = create("Node"), b = create("Node"), c = create("Node");
  L0_Var_2 other = newDiagram();
  L0_Func_pasteCmd(a, diagram);
  L0_Func_pasteCmd(b, diagram);
  ASSERT_EQ(commandClasses(), (std::vector<std::string>{"PasteCmd"}));
  EXPECT_EQ(over(commands()[0], "element"), (Objects{a, b}));
  EXPECT_EQ(host.enqueued, 1);
  L0_Func_pasteCmd(c, other);
  L0_Func_pasteCmd(a, diagram);
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"PasteCmd", "PasteCmd", "PasteCmd"}));
  EXPECT_EQ(host.enqueued, 3);
}

TEST_F(CommandsTest, ActivatingAReadOnlyDiagramOpensItForViewing) {
  L0_Func_activeDgrCmd(diagram);
  diagram.setAttr("isReadOnly", "true");
  L0_Func_activeDgrCmd(diagram);
  L0_Func_activeDgrCmd(L0_Var_2("GraphDiagram"));
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"ActiveDgrCmd", "ActiveDgrViewCmd"}));
  EXPECT_EQ(first(commands()[1], "graphDiagram"), diagram);
}

TEST_F(CommandsTest, ASecondCloseWaitsForTheFirst) {
  L0_Func_closeDgrCmd(diagram);
  L0_Func_closeDgrCmd(diagram);
  L0_Func_closeDgrCmd(L0_Var_2("GraphDiagram"));
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"CloseDgrCmd"}));
  // Another diagram's close is its own.
  L0_Func_closeDgrCmd(newDiagram());
  EXPECT_EQ(commandClasses().size(), 2u);
}

TEST_F(CommandsTest, OkOfADiagramIsNotRepeatedWhileOneWaits) {
  L0_Func_okCmd_graphDiagram(diagram);
  L0_Func_okCmd_graphDiagram(diagram);
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"OkCmd"}));
}

TEST_F(CommandsTest, ElementCommandsNeedTheElementsDiagram) {
  L0_Var_2 loose = create("Node");
  L0_Func_activeElementCmd(loose);
  L0_Func_defaultStyleCmd(loose);
  L0_Func_styleDialogCmd(loose, "x");
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(messages(), (std::vector<std::string>{"activeElementCmd on element without diagram",
                                                  "defaultStyleCmd on element without diagram",
                                                  "styleDialogCmd on element without diagram"}));
  L0_Var_2 placed = create("Node");
  placed.addLink(diagram, "graphDiagram");
  L0_Func_styleDialogCmd(placed, "info text");
  ASSERT_EQ(commandClasses(), (std::vector<std::string>{"StyleDialogCmd"}));
  EXPECT_EQ(attr(commands()[0], "info"), "info text");
  EXPECT_EQ(first(commands()[0], "element"), placed);
  EXPECT_EQ(first(commands()[0], "graphDiagram"), diagram);
}

TEST_F(CommandsTest, DialogCommandsIgnoreANullReceiver) {
  L0_Func_d_cmd(L0_Var_2("D#Form"), "Close");
  L0_Func_add_child_TreeNodeCmd(create("D#Tree"), create("D#TreeNode"));  // no selected node
  EXPECT_TRUE(commands().empty());
  L0_Var_2 form = create("D#Form");
  L0_Func_d_cmd(form, "ShowModal");
  ASSERT_EQ(commandClasses(), (std::vector<std::string>{"D#Command"}));
  EXPECT_EQ(attr(commands()[0], "info"), "ShowModal");
  EXPECT_EQ(first(commands()[0], "receiver"), form);
}

TEST(TransformationReferences, DecodeIntoLibraryAndEntry) {
  struct Case {
    const char* reference;
    const char* library;
    const char* entry;
  };
  for (const Case& c :
       {Case{"main#KeyDown", "main.dll", "_L0_Func_KeyDown"},
        Case{"default_compose", "main.dll", "_L0_Func_default_compose"},
        Case{"lua#scripts/run.lua", "lua", "scripts/run.lua"},
        Case{"ext#a#b", "ext.dll", "_L0_Func_a#b"}, Case{"other#", "main.dll", "_L0_Func_other"}}) {
    std::string library, entry;
    L0_Func_decode_function_and_dll_name(c.reference, library, entry);
    EXPECT_EQ(library, c.library) << c.reference;
    EXPECT_EQ(entry, c.entry) << c.reference;
  }
}

TEST_F(CommandsTest, TypeProceduresFallBackToTheNearestSupertype) {
  L0_Var_2 base = type("NodeType", "base");
  L0_Var_2 middle = type("NodeType", "middle");
  L0_Var_2 leaf = type("NodeType", "leaf");
  leaf.addLink(middle, "supertype");
  middle.addLink(base, "supertype");
  L0_Var_2 element = create("Node");
  base.setAttr("procNewElement", "grtest_procedures#object_entry");
  L0_Func_call_elemType_proc_with_supertypes(leaf, "procNewElement", element);
  EXPECT_EQ(messages(), (std::vector<std::string>{"object entry got " +
                                                  std::to_string(element.getCurrObjID())}));
  gr::clearRecordedMessages();
  middle.setAttr("procNewElement", "nearer_one");
  L0_Func_call_elemType_proc_with_supertypes(leaf, "procNewElement", element);
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Probably, Function not found \n\"_L0_Func_nearer_one\"."}));
  gr::clearRecordedMessages();
  L0_Func_call_elemType_proc_with_supertypes(base, "procNewElement", element);
  EXPECT_EQ(messages().size(), 1u);  // the base's own procedure, not its subtypes'
}

TEST_F(CommandsTest, TheLastQueuedCommandIsTheNewestLink) {
  EXPECT_TRUE(L0_Func_get_last_cmd().isNull());
  L0_Func_updateDgrCmd(diagram);
  L0_Func_execTransfCmd(diagram, "show_project_diagram");
  L0_Var_2 last = L0_Func_get_last_cmd();
  EXPECT_EQ(getClassName(last), "ExecTransfCmd");
  EXPECT_EQ(attr(last, "info"), "show_project_diagram");
  EXPECT_EQ(all("LastCmdPtr").size(), 1u);
}

}  // namespace
