/*
 * What the behaviour library asks of its host: the head engine, the editor
 * engines and the utility routines.
 *
 * The host installs one HostApi (gr::setHost) after it has loaded the
 * library; until it does, a default answers every call (the runtime path is
 * the folder of the runtime library, the project path the current folder,
 * the tool path none;
 * engines accept nothing; utilities say they are not available). The library reaches these calls
 * only through the functions of runtime/HostCalls.h, named as the engines name them.
 *
 * Every modal message box and information-bar text of the library goes to one
 * message sink. A host installs its own; until one does, the default sink
 * prints each text to standard error and keeps it for tests to read.
 */
#ifndef GR_PLATFORM_HOST_H
#define GR_PLATFORM_HOST_H

#if defined(__GNUC__)
#define GR_API __attribute__((visibility("default")))
#else
#define GR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* KIND is "message" for a modal message box, "error" for a runtime error
 * report, "info" for an information-bar text. */
typedef void (*GrMessageSink)(const char* kind, const char* text, void* context);

/* Installs SINK (NULL: back to the default sink). */
GR_API void GrSetMessageSink(GrMessageSink sink, void* context);
/* Shows a modal message box: the call returns once the text is delivered. */
GR_API void GrShowMessageBox(const char* text);

#ifdef __cplusplus
}

#include <cstdint>
#include <string>

namespace gr {

// The host's side of every engine and utility call. Object ids are those of
// the store; texts are UTF-8.
class HostApi {
 public:
  virtual ~HostApi() = default;

  // ---- engine start-up, called at every run of the dispatcher
  virtual void dialogEngine() {}
  virtual void graphDiagramEngine() {}
  virtual void treeEngine() {}
  virtual void multiUserEngine() {}

  // ---- head engine
  // The command just linked as `command` of the LastCmdPtr is to run after
  // the current transformation.
  virtual void enqueueCmd() {}
  virtual void saveAllDiagrams() {}
  // Runs a transformation of another library (a reference "lib#name").
  virtual void executeTransformation(const std::string& reference, int mode);
  // Executes one command object at once.
  virtual void executeCommand(uint32_t command);
  // The classes of the named metamodel exist afterwards.
  virtual bool loadMetamodel(const std::string& name);
  virtual void showInformationBar(const std::string& text);
  virtual void hideInformationBar() {}
  virtual std::string projectPath();
  virtual std::string runtimePath();
  // The folder of the tools the user installed or named; "" when none.
  virtual std::string toolPath();

  // ---- script engine
  virtual void luaDoFile(const std::string& scriptFile);
  // Runs ENTRY of the script engine with a Lua function name and an object.
  virtual std::string luaCall(const std::string& entry, const std::string& function,
                              uint32_t object);

  // ---- utilities
  // Matches TEXT against EXPRESSION and returns the captured groups joined
  // by SEPARATOR (an unmatched group gives an empty part).
  virtual std::string parse(const std::string& expression, const std::string& text,
                            const std::string& separator);
  virtual std::string browseForFile(const std::string& caption, const std::string& filter);
  virtual std::string browseForFolder(const std::string& caption);
  virtual bool copyFile(const std::string& from, const std::string& to);
  virtual std::string executeProgramAndGetOutput(const std::string& commandLine, bool wait);
  virtual bool openFileWithAssociatedProgram(const std::string& path);

  // ---- multi-user engine
  // Makes the shared area REMOTEID hold DIAGRAM's subtree: the objects
  // reached over TRAVERSALROLES, stopping at STOPCLASSES, with the links of
  // REFERENCEMAP kept as references to project-wide objects. FLAG is false
  // while a whole project is converted, true for a new child diagram found
  // at a commit.
  virtual bool createSharedArea(const std::string& remoteId, bool flag, uint32_t diagram,
                                const std::string& referenceMap, const std::string& stopClasses,
                                const std::string& traversalRoles);
  // Fetches the area into the project, read-only or locked for this user;
  // when the lock is refused, LOCKEDBY names who holds it.
  virtual bool importSharedArea(const std::string& remoteId, bool readOnly, std::string& lockedBy);
  // Writes the local diagram of REMOTEID back to its area.
  virtual bool exportSharedArea(const std::string& remoteId, bool flag);
  virtual std::string generateSharedId();

 protected:
  // Says that FUNCTION is not available in this host.
  static void notAvailable(const std::string& function);
};

// Installs HOST (nullptr: back to the default). The host keeps ownership.
GR_API void setHost(HostApi* host);
GR_API HostApi& host();

}  // namespace gr

#endif

#endif
