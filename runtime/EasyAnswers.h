// Answers of two navigations that transformations ask over and over: from a
// diagram type over `elemType` and from an element type over `compartType`
// to the type with a given key. The answers live as long as the library is
// loaded; a variable kept here becomes null in a later generation, so an
// answer is good for the run that stored it. Also a set of keys seen.
#pragma once

#include <string>

#include "runtime/L0_Var.h"

// Stores ANSWER under KEY when FROM is a GraphDiagramType and ROLENAME is
// "elemType", or FROM is an ElemType and ROLENAME is "compartType"; nothing
// otherwise. ATTRNAME and VALUE name the search the answer belongs to; they
// are not used.
void addToEasyAnswers(const L0_Var_2& from, const std::string& roleName,
                      const std::string& attrName, const std::string& value, const std::string& key,
                      const L0_Var_2& answer);
// The answer stored under KEY for FROM's class and ROLENAME; a null variable
// declared with class "Thing" when there is none.
L0_Var_2 tryToGetEasyAnswer(const L0_Var_2& from, const std::string& roleName,
                            const std::string& attrName, const std::string& value,
                            const std::string& key);
// True when KEY was seen before; otherwise records it and gives false.
bool checkEasyAnswers(const std::string& key);
