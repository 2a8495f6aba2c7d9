// Shared diagrams, the library's side: which diagram is in context, what
// each step asks of the multi-user engine (a host that answers as told),
// the hand-over record, the commands and the texts the user sees.
#include <gtest/gtest.h>

#include <deque>

#include "ToolFixture.h"
#include "multiuser/Multiuser.h"

namespace {

class SharedHost : public RecordingHost {
 public:
  bool createSharedArea(const std::string& remoteId, bool flag, uint32_t diagram,
                        const std::string& referenceMap, const std::string& stopClasses,
                        const std::string& traversalRoles) override {
    calls.push_back("create " + remoteId + (flag ? " child" : " tree"));
    created.push_back(diagram);
    extent = {referenceMap, stopClasses, traversalRoles};
    return createAnswer;
  }
  bool importSharedArea(const std::string& remoteId, bool readOnly, std::string& holder) override {
    calls.push_back("import " + remoteId + (readOnly ? " read" : " lock"));
    bool answer = importAnswers.empty() ? true : importAnswers.front();
    if (!importAnswers.empty()) importAnswers.pop_front();
    if (!answer && !readOnly) holder = lockedBy;
    return answer;
  }
  bool exportSharedArea(const std::string& remoteId, bool flag) override {
    calls.push_back("export " + remoteId + (flag ? " true" : " false"));
    return exportAnswer;
  }
  std::string generateSharedId() override { return "id" + std::to_string(++generated); }

  std::vector<std::string> calls;
  std::vector<uint32_t> created;
  std::vector<std::string> extent;
  std::deque<bool> importAnswers;
  std::string lockedBy = "alice";
  bool createAnswer = true;
  bool exportAnswer = true;
  int generated = 0;
};

class MultiuserTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    gr::setHost(&shared);
    seedType = type("NodeType", "Seed");
  }

  // A box of the diagram that opens CHILD.
  L0_Var_2 seedTo(L0_Var_2 owner, L0_Var_2 child) {
    L0_Var_2 seed = create("Node");
    owner.addLink(seed, "element");
    seed.addLink(seedType, "elemType");
    if (!child.isNull()) seed.addLink(child, "target");
    return seed;
  }
  std::string info() const { return shared.information.empty() ? "" : shared.information.back(); }

  SharedHost shared;
  L0_Var_2 seedType;
};

TEST_F(MultiuserTest, TheContextIsTheActiveElementsChildOrElseTheActiveDiagram) {
  diagram.setAttr("remoteId", "top");
  diagram.setAttr("isReadOnly", "true");
  L0_Func_checkout();
  L0_Var_2 request = all("DiagramImportTmp").at(0);
  expectValues(request, {{"remoteId", "top"}, {"readOnly", "true"}, {"reopen", "true"}});
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"CloseDgrCmd", "ExecTransfCmd"}));
  EXPECT_EQ(attr(commands().at(1), "info"), "finish_import");
  EXPECT_TRUE(shared.calls.empty());

  // With a box selected, its child: here only by remote id.
  L0_Var_2 seed = seedTo(diagram, L0_Var_2("GraphDiagram"));
  seed.setAttr("targetDiagramRemoteId", "child");
  select({seed});
  L0_Func_lock();
  EXPECT_EQ(attr(all("DiagramImportTmp").at(1), "remoteId"), "child");
  EXPECT_EQ(attr(all("DiagramImportTmp").at(1), "readOnly"), "false");
}

TEST_F(MultiuserTest, ImportsThatCanNotBeginSayWhyAndLeaveNoRecord) {
  L0_Var_2 seed = seedTo(diagram, L0_Var_2("GraphDiagram"));
  select({seed});
  L0_Func_checkout();
  EXPECT_EQ(info(), "There isn't a remote diagram");
  select({});
  L0_Func_checkout();
  EXPECT_EQ(info(), "There isn't a remote diagram");
  // A diagram being edited here is not locked again.
  diagram.setAttr("remoteId", "top");
  diagram.setAttr("isReadOnly", "false");
  L0_Func_lock();
  EXPECT_EQ(info(), "Already locked");
  EXPECT_TRUE(all("DiagramImportTmp").empty());
  EXPECT_TRUE(commands().empty());
  // Checking it out fetches it again, read-only.
  L0_Func_checkout();
  EXPECT_EQ(all("DiagramImportTmp").size(), 1u);
}

TEST_F(MultiuserTest, FinishImportReopensTheDiagramAsItWasFetched) {
  diagram.setAttr("remoteId", "top");
  diagram.setAttr("isReadOnly", "true");
  L0_Func_import_from_context(false);
  shared.enqueued = 0;
  L0_Func_finish_import();
  EXPECT_EQ(shared.calls, (std::vector<std::string>{"import top lock"}));
  EXPECT_EQ(info(), "Done");
  EXPECT_EQ(attr(diagram, "isReadOnly"), "false");
  EXPECT_EQ(commandClasses().back(), "ActiveDgrCmd");
  EXPECT_TRUE(all("DiagramImportTmp").empty());
  // Nothing left to do.
  L0_Func_finish_import();
  EXPECT_EQ(shared.calls.size(), 1u);
}

TEST_F(MultiuserTest, ARefusedLockFetchesTheDiagramReadOnlyAndNamesTheHolder) {
  diagram.setAttr("remoteId", "top");
  diagram.setAttr("isReadOnly", "true");
  shared.importAnswers = {false, true};
  L0_Func_lock();
  L0_Func_finish_import();
  EXPECT_EQ(shared.calls, (std::vector<std::string>{"import top lock", "import top read"}));
  EXPECT_EQ(shared.information, (std::vector<std::string>{"Failed. Locked by alice"}));
  EXPECT_EQ(attr(diagram, "isReadOnly"), "true");
  EXPECT_EQ(commandClasses().back(), "ActiveDgrViewCmd");

  shared.information.clear();
  shared.importAnswers = {false, false};
  L0_Func_lock();
  L0_Func_finish_import();
  EXPECT_EQ(shared.information, (std::vector<std::string>{"Failed. Unknown reason, sorry."}));
  shared.importAnswers = {false};
  L0_Func_checkout();
  L0_Func_finish_import();
  EXPECT_EQ(info(), "Failed. Unknown reason, sorry.");
  EXPECT_EQ(shared.calls.size(), 5u);
}

TEST_F(MultiuserTest, AHandOverRecordWithoutRemoteIdFetchesNothing) {
  L0_Var_2 request = create("DiagramImportTmp");
  request.setAttr("readOnly", "true");
  L0_Func_finish_import();
  EXPECT_EQ(info(), "There isn't a remote diagram");
  EXPECT_TRUE(shared.calls.empty());
  EXPECT_TRUE(all("DiagramImportTmp").empty());
}

TEST_F(MultiuserTest, CommitSharesNewChildDiagramsFirstAndLeavesTheDiagramReadOnly) {
  diagram.setAttr("remoteId", "top");
  diagram.setAttr("isReadOnly", "false");
  L0_Var_2 fresh = newDiagram();
  L0_Var_2 known = newDiagram();
  known.setAttr("remoteId", "known");
  L0_Var_2 freshSeed = seedTo(diagram, fresh);
  seedTo(diagram, known);
  L0_Var_2 grandchild = newDiagram();
  seedTo(fresh, grandchild);
  L0_Func_commit();
  EXPECT_EQ(shared.calls, (std::vector<std::string>{"create id1 child", "export top false"}));
  EXPECT_EQ(shared.created, std::vector<uint32_t>{fresh.getCurrObjID()});
  EXPECT_EQ(attr(fresh, "remoteId"), "id1");
  EXPECT_EQ(attr(freshSeed, "targetDiagramRemoteId"), "id1");
  EXPECT_EQ(attr(grandchild, "remoteId"), "");
  EXPECT_EQ(attr(diagram, "isReadOnly"), "true");
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"CloseDgrCmd", "ActiveDgrViewCmd"}));
  EXPECT_EQ(info(), "Commited");
  EXPECT_EQ(shared.extent,
            (std::vector<std::string>{
                "GraphDiagram.graphDiagramType-_L0_Func_getLOforGDType;Element.elemType-_L0_Func_"
                "getLOforElemType;Element.elemStyle-_L0_Func_getLOforElemStyle;Compartment."
                "compartType-_L0_Func_getLOforCompartType;Compartment.compartStyle-_L0_Func_"
                "getLOforCompartStyle",
                "GraphDiagram;Element;Compartment",
                "GraphDiagram.element;Element.compartment;Compartment.subCompartment;Element."
                "eStart;Element.eEnd;Node.component;Node.port"}));
}

TEST_F(MultiuserTest, FailedCommitsSayWhyAndRollNothingBack) {
  diagram.setAttr("isReadOnly", "false");
  L0_Func_commit();
  EXPECT_EQ(info(), "Commit parent first, sorry");
  EXPECT_EQ(attr(diagram, "isReadOnly"), "true");
  L0_Var_2 seed = seedTo(diagram, L0_Var_2("GraphDiagram"));
  select({seed});
  L0_Func_commit();
  EXPECT_EQ(info(), "Commit parent first, sorry");
  select({});
  diagram.setAttr("remoteId", "top");
  diagram.setAttr("isReadOnly", "false");
  shared.exportAnswer = false;
  L0_Func_commit();
  EXPECT_EQ(info(), "Commit failed. Unknown reason, sorry.");
  EXPECT_EQ(attr(diagram, "isReadOnly"), "true");
  EXPECT_TRUE(commands().empty());
  EXPECT_TRUE(messages().empty());
}

TEST_F(MultiuserTest, ConversionSharesTheWholeTreeAndKeepsOnlyTheTopDiagram) {
  L0_Var_2 project = create("Project");
  project.addLink(diagram, "graphDiagram");
  L0_Var_2 child = newDiagram();
  L0_Var_2 grandchild = newDiagram();
  L0_Var_2 childSeed = seedTo(diagram, child);
  L0_Var_2 inner = seedTo(child, grandchild);
  L0_Var_2 part = create("Compartment");
  inner.addLink(part, "compartment");
  L0_Func_convert_to_multiuser();
  EXPECT_EQ(messages(), std::vector<std::string>{"start conversion"});
  EXPECT_EQ(commandClasses(),
            (std::vector<std::string>{"SaveDgrCmd", "SaveDgrCmd", "SaveDgrCmd", "ExecTransfCmd"}));
  EXPECT_EQ(attr(commands().back(), "info"), "finished_convert_to_multiuser");
  EXPECT_TRUE(shared.calls.empty());

  std::vector<uint32_t> tree{diagram.getCurrObjID(), child.getCurrObjID(),
                             grandchild.getCurrObjID()};
  L0_Func_finished_convert_to_multiuser();
  EXPECT_EQ(shared.calls,
            (std::vector<std::string>{"create id1 tree", "create id2 tree", "create id3 tree"}));
  EXPECT_EQ(shared.created, tree);
  expectValues(diagram, {{"remoteId", "id1"}, {"isReadOnly", "true"}});
  EXPECT_EQ(attr(childSeed, "targetDiagramRemoteId"), "id2");
  EXPECT_EQ(all("GraphDiagram").size(), 1u);
  EXPECT_TRUE(all("Compartment").empty());
  EXPECT_EQ(messages().back(), "conversion finished");
}

TEST_F(MultiuserTest, AFailedAreaIsSaidAndTheConversionGoesOn) {
  L0_Var_2 project = create("Project");
  project.addLink(diagram, "graphDiagram");
  seedTo(diagram, newDiagram());
  shared.createAnswer = false;
  L0_Func_finished_convert_to_multiuser();
  EXPECT_EQ(messages(), (std::vector<std::string>{"Diagram export failed. Unknown reason, sorry.",
                                                  "Diagram export failed. Unknown reason, sorry.",
                                                  "conversion finished"}));
  EXPECT_EQ(all("GraphDiagram").size(), 1u);
}

TEST_F(MultiuserTest, WithoutAProjectTheConversionOnlySaysSo) {
  L0_Func_convert_to_multiuser();
  L0_Func_finished_convert_to_multiuser();
  EXPECT_EQ(messages(), (std::vector<std::string>{"start conversion", "conversion finished"}));
  EXPECT_TRUE(commands().empty());
  EXPECT_TRUE(shared.calls.empty());
}

TEST_F(MultiuserTest, TheFirstDiagramOfARemoteIdIsTheOneUsed) {
  L0_Var_2 earlier = newDiagram();
  L0_Var_2 later = newDiagram();
  earlier.setAttr("remoteId", "same");
  later.setAttr("remoteId", "same");
  EXPECT_EQ(L0_Func_get_graphDiagram_by_remote_id("same"), earlier);
  EXPECT_TRUE(L0_Func_get_graphDiagram_by_remote_id("other").isNull());
  L0_Var_2 seed = seedTo(diagram, L0_Var_2("GraphDiagram"));
  seed.setAttr("targetDiagramRemoteId", "same");
  L0_Func_connect_seed_to_diagram_by_id(seed);
  EXPECT_EQ(first(seed, "target"), earlier);
}

}  // namespace
