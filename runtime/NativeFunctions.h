// The fixed set of native functions the transformations call besides the
// object-variable operations: conversions, string functions, tests and model
// queries, files and processes, messages and the timer.
#pragma once

#include <string>

#include "runtime/ProcedureCall.h"

class L0_Var_2;

// ---- conversions and string functions
std::string IntToStr(int value);
std::string IntToString(int value);
std::string RealToStr(double value);
int StrToInt(const std::string& text);
double StrToReal(const std::string& text);
bool IsInt(const std::string& text);
bool IsReal(const std::string& text);
std::string Substring(const std::string& s, int from, int to);
std::string Char(const std::string& s, int index);
int Length(const std::string& s);
int Size(const std::string& s);
bool contains(const std::string& text, const std::string& part);
void showMsg(const std::string& text);

// ---- tests and model queries
// The object's class is CLASSNAME or a subclass of it.
bool isKindOf(const L0_Var_2& object, const std::string& className);
// "" for a null variable.
std::string getClassName(const L0_Var_2& object);
std::string getObjectIdText(const L0_Var_2& object);
// False exactly when the object has a non-empty value of a number, flag or
// enumeration attribute of that name.
bool noTypedValue(const L0_Var_2& object, const std::string& attrName);
// Copies the source's "label" into the cell's "value".
void PutLiteralValueToCell(L0_Var_2 source, L0_Var_2 cell);
// Sorts a comma-separated list in place, dropping empty items.
void Sort(std::string& list);

// ---- files and processes
void writeToFile(const std::string& text, const std::string& fileName);
void appendLineToFile(const std::string& text, const std::string& fileName);
std::string readFromFile(const std::string& fileName);
void removeFile(const std::string& fileName);
// Runs the command through /bin/sh and waits for it; returns its exit status.
int runCommand(const std::string& commandLine);
std::string currentDate();

// ---- timer: the time since the library's one timer started (it never
// does, so this is the time of day), as " hh:mm s z".
std::string stopTimerAndGetTime();
