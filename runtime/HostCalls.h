// The engine and utility calls of the transformations, under the names the
// engines give them. Each forwards to the host installed by gr::setHost.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host.h"

void L0_Func_DialogEngine();
void L0_Func_GraphDiagramEngine();
void L0_Func_TreeEngine();
void L0_Func_MultiUserEngine();
std::string Kw_Galva_EnqueueCmd();
void Kw_Galva_SaveAllDiagrams();
void L0_Func_ExecuteTransformation(const std::string& reference, int mode);
void L0_Func_ExecuteCommand(uint32_t command);
bool L0_Func_LoadMetamodel(const std::string& name);
void L0_Func_ShowInformationBar(const std::string& text);
void L0_Func_HideInformationBar();
std::string L0_Func_GetProjectPath();
std::string L0_Func_GetRuntimePath();
std::string L0_Func_GetToolPath();
void L0_Func_Lua_dofile(const std::string& scriptFile);
std::string L0_Func_parse(const std::string& expression, const std::string& text,
                          const std::string& separator);
std::string L0_Func_BrowseForFile(const std::string& caption, const std::string& filter);
std::string L0_Func_BrowseForFolder(const std::string& caption);
bool L0_Func_CopyFile(const std::string& from, const std::string& to);
std::string L0_Func_ExecuteProgramAndGetOutput(const std::string& commandLine, bool wait);
bool L0_Func_OpenFileWithAssociatedProgram(const std::string& path);
bool L0_Func_CreateSharedArea(const std::string& remoteId, bool flag, uint32_t diagram,
                              const std::string& referenceMap, const std::string& stopClasses,
                              const std::string& traversalRoles);
bool L0_Func_ImportSharedArea(const std::string& remoteId, bool readOnly, std::string& lockedBy);
bool L0_Func_ExportSharedArea(const std::string& remoteId, bool flag);
std::string L0_Func_GenerateSharedID();
