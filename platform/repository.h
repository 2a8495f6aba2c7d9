/*
 * The model store's C API.
 *
 * One store is open per process at a time; every operation below acts on it.
 * Ids are uint32_t and share one space: a number names at most one class,
 * attribute (property type), link type, package or object, and is never
 * reused after its owner is deleted. 0 means "none".
 *
 * Strings cross as UTF-8. A `const char*` result points into the store and
 * stays valid until the next change of the store; copy it to keep it.
 * Integer results: non-zero means success unless stated otherwise. A refused
 * change returns 0 and leaves its reason in RepLastError; a lookup that finds
 * nothing just returns 0.
 * Lists come back as RepIdList objects that the caller frees.
 */
#ifndef GR_PLATFORM_REPOSITORY_H
#define GR_PLATFORM_REPOSITORY_H

#include <stdint.h>

#if defined(__GNUC__)
#define REP_API __attribute__((visibility("default")))
#else
#define REP_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t RepId;
typedef struct RepIdList RepIdList;

/* Base types of attributes as reported by GetPropertyBaseType. */
enum { REP_STRING = 0, REP_INTEGER = 1, REP_REAL = 2, REP_BOOLEAN = 3, REP_ENUM = 4 };

/* Base type codes accepted by CreatePropertyType (7 creates an enumeration). */
enum {
  BaseType_STRING = 0,
  BaseType_INTEGER = 1,
  BaseType_FLOAT = 2,
  BaseType_BOOLEAN = 3,
  BaseType_ENUMERATION = 7
};

/* Multiplicity codes of a link type's far end. */
enum {
  REP_MULT_ZERO_ONE = 1, /* "0..1" */
  REP_MULT_MANY = 2,     /* "*"    */
  REP_MULT_ONE = 3,      /* "1"    */
  REP_MULT_ONE_MANY = 4  /* "1..n" */
};

/* Link type kinds (GetLinkTypeAttributes2). */
enum { REP_KIND_ASSOCIATION = 4, REP_KIND_COMPOSITION = 12 };

/* Composition roles (GetLinkTypeAttributes2): the whole-to-part direction of a
 * composition is REP_COMPOS_WHOLE, its inverse REP_COMPOS_PART. */
enum { REP_COMPOS_NONE = 0, REP_COMPOS_PART = 1, REP_COMPOS_WHOLE = 2 };

/* ---- the store itself ------------------------------------------------- */

/* Creates FOLDER (if missing) with a new, empty store in it and opens it.
 * Fails when the folder already holds a store. */
REP_API int RepCreateProject(const char* folder);
/* Opens the store in FOLDER. A missing, corrupt, foreign, unreachable or
 * locked store, one of an older format, and a write-ahead log or journal
 * beside it that is not the store's own fail with a message in RepLastError;
 * whatever is refused is left as it was found. */
REP_API int RepOpenProject(const char* folder);
/* Opens an empty store that lives in memory only (commits write nothing). */
REP_API int RepOpenMemory(void);
/* Closes the open store; changes after the last commit are dropped. */
REP_API int RepCloseProject(void);
REP_API int RepIsOpen(void);
/* The message of the last failed operation ("" when none). */
REP_API const char* RepLastError(void);
/* The name of the store file inside a project folder. */
REP_API const char* RepStoreFileName(void);
/* Rows the last commit or SaveRequest wrote (inserted, replaced or deleted);
 * a diagnostic for tests and benchmarks. */
REP_API int64_t RepLastCommitRowCount(void);
/* Bytes the last commit or SaveRequest appended to the store's write-ahead
 * log; a diagnostic like the row count. */
REP_API int64_t RepLastCommitByteCount(void);
/* Call when the host has nothing to do: folds the write-ahead log into the
 * store file (which syncs it), work that commits leave for such moments so
 * that they only append to the log. Commits are durable against a crash of
 * the process without it; a host that never calls it makes a commit fold
 * the log once it has grown large. */
REP_API int RepIdle(void);

/* ---- save transactions -------------------------------------------------- */

/* Opens a save transaction (they nest; the outermost commit writes). The
 * arguments are accepted for compatibility and not used. */
REP_API int StartSaveTransaction1(int flags, int mode, const char* comment);
/* Ends a save transaction; the outermost one writes everything changed since
 * the last commit in one step that survives a crash of the process. When the
 * write fails (a full disk) it returns 0, RepLastError says what was not
 * saved, the file keeps the last commit that succeeded and the changes stay
 * pending: a later commit writes all of them or none. */
REP_API int CommitSaveTransaction(void);
/* Makes the present state durable at once, transaction or not. */
REP_API int SaveRequest(int code);
REP_API int RepTransactionDepth(void);

/* ---- names and types ---------------------------------------------------- */

REP_API RepId GetObjectTypeIdByName(const char* name);
REP_API RepId GetPackageIdByName(const char* name);
/* The attribute of that name visible in the class (own or inherited, nearest
 * first); class 0 looks the global attribute up. */
REP_API RepId GetPropertyTypeIdByName(RepId classId, const char* name);
/* The role of that name leading out of the class (own or inherited,
 * nearest first). */
REP_API RepId GetLinkTypeIdByName(RepId classId, const char* name);
REP_API RepId GetInverseLinkTypeId(RepId linkType);
/* The name of any type id (class, attribute, link type, package); "" if none. */
REP_API const char* GetTypeName(RepId typeId);

REP_API RepIdList* GetObjectTypeIdList(void);
/* Link types leading out of the class, inherited ones included (the
 * superclass's first). */
REP_API RepIdList* GetLinkTypeIdList(RepId classId);
/* Attributes of the class, inherited ones included (the superclass's first);
 * class 0 lists every attribute. */
REP_API RepIdList* GetPropertyTypeIdList(RepId classId);
/* Direct subclasses, in creation order. */
REP_API RepIdList* GetExtensionIdList(RepId classId);
REP_API RepId GetExtendsId(RepId classId);
/* Non-zero when SUB is SUPER or a transitive subclass of it. */
REP_API int ExtendsExtends(RepId sub, RepId super);

/* Start and end class of a link type, and its inverse. */
REP_API int GetLinkTypeAttributes1(RepId linkType, RepId* startClass, RepId* endClass,
                                   RepId* inverse);
/* Kind (REP_KIND_*) and composition role (REP_COMPOS_*). */
REP_API int GetLinkTypeAttributes2(RepId linkType, int* kind, int* compositionRole);
/* Multiplicity (REP_MULT_*) of the far end and whether the far end is ordered. */
REP_API int GetLinkTypeAttributes3(RepId linkType, int* multiplicity, int* ordered);
/* Base type (REP_STRING..REP_ENUM) and, for an enumeration, its type name
 * ("" otherwise). Out-parameters may be NULL, here and above. */
REP_API int GetPropertyTypeAttributes(RepId attr, int* baseType, const char** enumTypeName);
/* -1 when ATTR is no attribute. */
REP_API int GetPropertyBaseType(RepId attr);

/* ---- metamodel changes -------------------------------------------------- */

REP_API RepId CreateObjectType(const char* name);
REP_API RepId CreateObjectType1(const char* name, RepId superclass);
/* Renames the class and sets its superclass (0: none); both or neither. An
 * empty or NULL name keeps the name. */
REP_API int UpdateObjectType(RepId classId, const char* name, RepId superclass);
/* Renames the class only. */
REP_API int UpdateObjectType1(RepId classId, const char* name);
/* Deletes a class that has no subclasses and no objects, with its link types. */
REP_API int DeleteObjectType(RepId classId);

REP_API RepId CreatePackage(const char* name, RepId parentPackage);
/* Places a class, attribute, link type or package into a package (0: none).
 * A link type and its inverse share their package. */
REP_API int SetPackage(RepId element, RepId package);
REP_API RepId GetPackageOf(RepId element);

/* Global attributes; the name is unique among attributes. */
REP_API RepId CreatePropertyType(const char* name, int baseTypeCode);
REP_API RepId CreatePropertyType1(const char* name, int baseTypeCode, const char* enumTypeName);
REP_API int AddPropertyType(RepId classId, RepId attr);
REP_API int RemovePropertyType(RepId classId, RepId attr);
REP_API int DeletePropertyType(RepId attr);

/* Creates a link type pair. ROLE leads from START to END objects; INVERSE
 * leads back. Either name may be empty, not both. MULTIPLICITY / ORDERED
 * describe the END side as seen from a START object; the inverse ones the
 * START side (they are recorded, not enforced). With COMPOSITION set, START
 * is the whole. Returns ROLE's id. */
REP_API RepId CreateLinkType(RepId startClass, const char* role, int multiplicity, int ordered,
                             RepId endClass, const char* inverseRole, int inverseMultiplicity,
                             int inverseOrdered, int composition);
/* Deletes the pair with all its links. */
REP_API int DeleteLinkType(RepId linkType);

/* ---- objects, links and values ------------------------------------------ */

REP_API RepId GetObjectTypeId(RepId object);
REP_API int ObjectExists(RepId object);
/* Objects of the class and of its subclasses; direct instances come first,
 * each group in creation order. */
REP_API uint32_t GetObjectNum(RepId classId);
REP_API RepId GetObjectIdByIndex(RepId classId, uint32_t index);

REP_API RepId CreateObject(RepId classId);
/* Deletes the object with its links and values (no cascade over compositions). */
REP_API int DeleteObjectHard(RepId object);

/* Partners of OBJECT over LINKTYPE, in link order. */
REP_API uint32_t GetLinkedObjectNum(RepId object, RepId linkType);
REP_API RepId GetLinkedObjectIdByIndex(RepId object, RepId linkType, uint32_t index);
REP_API int AlreadyConnected(RepId linkType, RepId from, RepId to);
/* Links FROM to TO over LINKTYPE (and TO to FROM over the inverse), appended
 * at the end of both orders; a link that exists already moves to the end. */
REP_API int CreateLink(RepId linkType, RepId from, RepId to);
REP_API int DeleteLink(RepId linkType, RepId from, RepId to);

/* Non-zero when the text is a valid value of the attribute's base type:
 * String and Enum take any text; Integer [+-]?[0-9]+ within 32-bit signed
 * range; Real a finite decimal number with optional fraction and exponent;
 * Boolean "true", "false", "1" or "0". Every type takes "" (unset). */
REP_API int CheckPropertyValue(RepId attr, const char* value);
/* Refuses a value CheckPropertyValue refuses and an attribute the object's
 * class does not have; "" unsets the value. */
REP_API int AddProperty(RepId object, RepId attr, const char* value);
/* The value, "" when unset. */
REP_API const char* GetPropertyValue(RepId object, RepId attr);

/* ---- the journal ----------------------------------------------------------
 * While enabled, every change made through this API is recorded, one entry
 * per call, so that a host learns what a run of transformations changed
 * without comparing snapshots. The host takes the entries (oldest first); a
 * taken entry is gone. Opening or closing a store empties the journal. */

enum {
  REP_CHANGE_CREATED = 1,  /* object created; classId is its class */
  REP_CHANGE_DELETED = 2,  /* object deleted; classId is the class it had */
  REP_CHANGE_VALUE = 3,    /* a value set or unset; detail is the attribute */
  REP_CHANGE_LINK = 4,     /* a link made or removed; detail is the link type
                            * from OBJECT (the partner gets its own entry) */
  REP_CHANGE_METAMODEL = 5 /* a class, attribute or link type changed; object
                            * is the type's id */
};

typedef struct RepChange {
  int kind;
  RepId object;
  RepId classId;
  RepId detail;
} RepChange;

REP_API void RepJournalEnable(int on);
/* Moves up to CAPACITY of the oldest entries into BUFFER; returns how many. */
REP_API uint32_t RepJournalTake(RepChange* buffer, uint32_t capacity);
REP_API uint32_t RepJournalPending(void);

/* ---- lists -------------------------------------------------------------- */

REP_API uint32_t RepIdListCount(const RepIdList* list);
REP_API RepId RepIdListItem(const RepIdList* list, uint32_t index);
REP_API void RepIdListFree(RepIdList* list);

#ifdef __cplusplus
}
#endif

#endif
