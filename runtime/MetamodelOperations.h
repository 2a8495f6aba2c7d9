// Changes of the metamodel itself at run time: classes, attributes,
// associations and generalisations created, renamed and deleted by
// transformations, tests for them, and iteration over the classes and the
// attributes of a class. Every refusal is shown in a message box and leaves
// the metamodel and the objects exactly as they were; nothing here throws
// for a refusal. Class and role names may carry packages (P::Q::Name).
#pragma once

#include <string>

#include "runtime/RepositoryUser.h"

namespace gr::metamodel {

// Kinds of metamodel elements, as messages name them.
enum class ElementKind { Class, Attribute, Association };
std::string kindName(ElementKind kind);

// ---- classes
// True when the class was created (missing packages on the way too).
bool addClass(const std::string& qualifiedName);
bool classExists(const std::string& className);
// B is a subclass of A other than A itself.
bool isStrictSubclass(const std::string& a, const std::string& b);
// Refused when the new name is empty or taken, or the class does not exist.
bool renameClass(const std::string& className, const std::string& newName);
// Refused while the class has objects or subclasses; its link types go with it.
bool deleteClass(const std::string& className);

// ---- attributes (global property types attached to classes)
// Silent when the class already has the attribute with the same base type;
// a global attribute of that name and type is attached rather than created.
bool addAttr(const std::string& className, const std::string& attrName, int baseType);
bool existsAttr(const std::string& className, const std::string& attrName,
                const std::string& typeName);
bool removeAttr(const std::string& className, const std::string& attrName);
// Moves the values of the class's objects from one attribute to a new one
// of the same base type and detaches the old one.
bool renameAttr(const std::string& className, const std::string& attrName,
                const std::string& newName);

// ---- associations
// Roles may be P::r; both roles given must name the same package. Returns
// the id of role rA (from B objects to A objects is rB's inverse), 0 when refused.
RepId addAssoc(const std::string& classA, const std::string& roleA, int multiplicityA,
               const std::string& classB, const std::string& roleB, int multiplicityB,
               bool composition);
bool roleExists(const std::string& className, const std::string& roleName);
bool roleIsComposition(const std::string& className, const std::string& roleName);
// The class at the far end of the role; "" when there is no such role.
std::string endClassOfRole(const std::string& className, const std::string& roleName);
// Deletes the role's pair with all its links.
bool deleteAssoc(const std::string& className, const std::string& roleName);

// ---- generalisations
bool addRel(const std::string& className, const std::string& superclassName);
bool deleteRel(const std::string& className, const std::string& superclassName);

// ---- iteration
bool firstClass(std::string& className);
bool nextClass(std::string& className);
bool firstAttr(const std::string& className, std::string& attrName, std::string& typeName);
bool nextAttr(const std::string& className, std::string& attrName, std::string& typeName);

// The fixed name a class carries between its creation and its naming.
const std::string& placeholderClassName();

}  // namespace gr::metamodel
