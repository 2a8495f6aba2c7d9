// The layout of the store file.
#ifndef GR_REPOSITORY_STORESCHEMA_H
#define GR_REPOSITORY_STORESCHEMA_H

#include <cstdint>

namespace rep::schema {

inline constexpr const char* kFileName = "project.db";
inline constexpr const char* kLockSuffix = ".lock";
inline constexpr const char* kLogSuffix = "-wal";
inline constexpr const char* kJournalSuffix = "-journal";
// PRAGMA application_id: "GRst".
inline constexpr int64_t kApplicationId = 0x47527374;
// 1 kept each link end as one blob; 2 keeps one row per link.
inline constexpr int64_t kFormatVersion = 2;

// A link is one row, named from one of its ends (see Store::logLink); SEQ
// orders the links at both ends. Rewriting one link never touches the other
// links of its ends, however many there are.
inline constexpr const char* kCreateTables = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE packages(id INTEGER PRIMARY KEY, name TEXT NOT NULL, package INTEGER NOT NULL);
CREATE TABLE classes(id INTEGER PRIMARY KEY, name TEXT NOT NULL, superclass INTEGER NOT NULL,
                     package INTEGER NOT NULL, attributes BLOB NOT NULL, subclasses BLOB NOT NULL);
CREATE TABLE attributes(id INTEGER PRIMARY KEY, name TEXT NOT NULL, base_type INTEGER NOT NULL,
                        enum_type TEXT NOT NULL, package INTEGER NOT NULL);
CREATE TABLE link_types(id INTEGER PRIMARY KEY, name TEXT NOT NULL, start_class INTEGER NOT NULL,
                        end_class INTEGER NOT NULL, inverse INTEGER NOT NULL,
                        multiplicity INTEGER NOT NULL, ordered INTEGER NOT NULL,
                        composition INTEGER NOT NULL, package INTEGER NOT NULL);
CREATE TABLE objects(id INTEGER PRIMARY KEY, class INTEGER NOT NULL);
CREATE TABLE vals(obj INTEGER NOT NULL, attr INTEGER NOT NULL, value TEXT NOT NULL,
                  PRIMARY KEY(obj, attr)) WITHOUT ROWID;
CREATE TABLE links(obj INTEGER NOT NULL, link_type INTEGER NOT NULL, partner INTEGER NOT NULL,
                   seq INTEGER NOT NULL, PRIMARY KEY(obj, link_type, partner)) WITHOUT ROWID;
)sql";

}  // namespace rep::schema

#endif
