#include "runtime/NativeFunctions.h"

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "runtime/L0_Var.h"
#include "runtime/MessageSink.h"
#include "runtime/RepositoryUser.h"
#include "runtime/strRoutine.h"

std::string IntToStr(int value) {
  return strRoutine::intToStr(value);
}
std::string IntToString(int value) {
  return strRoutine::intToStr(value);
}
std::string RealToStr(double value) {
  return strRoutine::doubleToStr(value);
}
int StrToInt(const std::string& text) {
  return strRoutine::strToInt(text);
}
double StrToReal(const std::string& text) {
  return strRoutine::strToDouble(text);
}
bool IsInt(const std::string& text) {
  return strRoutine::isInt(text);
}
bool IsReal(const std::string& text) {
  return strRoutine::isReal(text);
}
std::string Substring(const std::string& s, int from, int to) {
  return strRoutine::substring(s, from, to);
}
std::string Char(const std::string& s, int index) {
  return strRoutine::charAt(s, index);
}
int Length(const std::string& s) {
  return static_cast<int>(s.size());
}
int Size(const std::string& s) {
  return static_cast<int>(s.size());
}
bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
void showMsg(const std::string& text) {
  gr::showMessageBox(text);
}

bool isKindOf(const L0_Var_2& object, const std::string& className) {
  RepId classId = RepositoryUser::getObjectTypeIdByName(className);
  return classId != 0 && !object.isNull() && ExtendsExtends(object.actualClassId(), classId);
}

std::string getClassName(const L0_Var_2& object) {
  return object.isNull() ? "" : RepositoryUser::getTypeName(object.actualClassId());
}

std::string getObjectIdText(const L0_Var_2& object) {
  return strRoutine::intToStr(object.getCurrObjID());
}

bool noTypedValue(const L0_Var_2& object, const std::string& attrName) {
  if (object.isNull()) return true;
  RepId attr = RepositoryUser::getPropertyTypeIdByName(object.actualClassId(), attrName);
  if (attr == 0 || GetPropertyBaseType(attr) == REP_STRING) return true;
  return RepositoryUser::getProperty(object.getCurrObjID(), attr).empty();
}

void PutLiteralValueToCell(L0_Var_2 source, L0_Var_2 cell) {
  if (source.isNull() || cell.isNull()) return;
  std::string label = source.getAttrOfActualClass("label");
  RepId valueAttr = RepositoryUser::getPropertyTypeIdByName(cell.actualClassId(), "value");
  if (valueAttr == 0 || !RepositoryUser::setProperty(cell.getCurrObjID(), valueAttr, label)) {
    std::cout << "Can not set cell value" << std::endl;
    gr::showMessageBox("Can not set cell value");
  }
}

void Sort(std::string& list) {
  std::vector<std::string> items;
  std::stringstream in(list);
  for (std::string item; std::getline(in, item, ',');)
    if (!item.empty()) items.push_back(item);
  for (const std::string& item : items) std::cout << '"' << item << '"' << std::endl;
  std::sort(items.begin(), items.end());
  std::string sorted;
  for (const std::string& item : items) sorted += (sorted.empty() ? "" : ",") + item;
  list = sorted;
}

namespace {
void writeFile(const std::string& text, const std::string& fileName, std::ios::openmode mode) {
  std::ofstream out(fileName, mode | std::ios::binary);
  if (!out) {
    gr::showMessageBox("Can not open file " + fileName);
    return;
  }
  out << text;
}
}  // namespace

void writeToFile(const std::string& text, const std::string& fileName) {
  writeFile(text, fileName, std::ios::out | std::ios::trunc);
}

void appendLineToFile(const std::string& text, const std::string& fileName) {
  writeFile(text + "\n", fileName, std::ios::out | std::ios::app);
}

std::string readFromFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void removeFile(const std::string& fileName) {
  std::remove(fileName.c_str());
}

int runCommand(const std::string& commandLine) {
  std::fflush(nullptr);
  int status = std::system(commandLine.c_str());
  return status == -1 ? -1 : WEXITSTATUS(status);
}

std::string currentDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string stopTimerAndGetTime() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  char text[64];
  std::snprintf(text, sizeof text, " %02d:%02d %d %lld", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<long long>(millis));
  return text;
}
