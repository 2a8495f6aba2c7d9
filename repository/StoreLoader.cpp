#include "repository/StoreLoader.h"

#include <malloc.h>

#include <algorithm>
#include <vector>

#include "repository/Errors.h"
#include "repository/IdBlob.h"
#include "repository/StoreSchema.h"

namespace rep {

namespace {

bool damaged(Database& db) {
  return refuse<bool>("the store file is damaged: " + db.message());
}

bool inconsistent(const char* what) {
  return refuse<bool>(std::string("the store file is damaged: ") + what + " do not fit together");
}

// Steps through every row of SQL, handing each to READ; false when reading
// fails or READ refuses a row (READ then has set RepLastError).
template <class ReadRow>
bool forEachRow(Database& db, const char* sql, ReadRow readRow) {
  Statement statement(db.handle(), sql);
  if (!statement.valid()) return damaged(db);
  int code;
  while ((code = statement.step()) == SQLITE_ROW) {
    if (!readRow(statement)) return false;
  }
  return code == SQLITE_DONE || damaged(db);
}

RepId idColumn(Statement& row, int column) {
  return static_cast<RepId>(row.integer(column));
}

bool idsColumn(Statement& row, int column, std::vector<RepId>& ids) {
  return decodeIds(row.blob(column), ids);
}

// A missing key reads as -1.
int64_t metaValue(Database& db, const char* key, bool& ok) {
  int64_t value = -1;
  std::string sql = std::string("SELECT value FROM meta WHERE key = '") + key + "'";
  ok = forEachRow(db, sql.c_str(), [&](Statement& row) {
    value = row.integer(0);
    return true;
  });
  return value;
}

bool readMeta(Database& db, Store& store) {
  bool ok = false;
  int64_t nextId = metaValue(db, "next_id", ok);
  if (!ok) return false;
  int64_t linkSeq = metaValue(db, "link_seq", ok);
  if (!ok) return false;
  if (nextId < 1 || nextId > int64_t{UINT32_MAX} || linkSeq < 1)
    return inconsistent("the counters and the rows");
  store.ids().restore(static_cast<RepId>(nextId));
  store.restoreLinkSeq(static_cast<uint64_t>(linkSeq));
  return true;
}

bool readPackages(Database& db, Metamodel& metamodel) {
  return forEachRow(db, "SELECT id, name, package FROM packages", [&](Statement& row) {
    PackageRec rec;
    rec.name = row.text(1);
    rec.package = idColumn(row, 2);
    metamodel.restorePackage(idColumn(row, 0), std::move(rec));
    return true;
  });
}

bool readClasses(Database& db, Metamodel& metamodel) {
  const char* sql = "SELECT id, name, superclass, package, attributes, subclasses FROM classes";
  return forEachRow(db, sql, [&](Statement& row) {
    ClassRec rec;
    rec.name = row.text(1);
    rec.superclass = idColumn(row, 2);
    rec.package = idColumn(row, 3);
    if (!idsColumn(row, 4, rec.attributes) || !idsColumn(row, 5, rec.subclasses)) {
      return inconsistent("class rows");
    }
    metamodel.restoreClass(idColumn(row, 0), std::move(rec));
    return true;
  });
}

bool readAttributes(Database& db, Metamodel& metamodel) {
  const char* sql = "SELECT id, name, base_type, enum_type, package FROM attributes";
  return forEachRow(db, sql, [&](Statement& row) {
    AttributeRec rec;
    rec.name = row.text(1);
    rec.baseType = static_cast<int>(row.integer(2));
    rec.enumTypeName = row.text(3);
    rec.package = idColumn(row, 4);
    if (rec.baseType < REP_STRING || rec.baseType > REP_ENUM) return inconsistent("attribute rows");
    metamodel.restoreAttribute(idColumn(row, 0), std::move(rec));
    return true;
  });
}

bool readLinkTypes(Database& db, Metamodel& metamodel) {
  const char* sql =
      "SELECT id, name, start_class, end_class, inverse, multiplicity, ordered, composition, "
      "package FROM link_types";
  return forEachRow(db, sql, [&](Statement& row) {
    LinkTypeRec rec;
    rec.name = row.text(1);
    rec.start = idColumn(row, 2);
    rec.end = idColumn(row, 3);
    rec.inverse = idColumn(row, 4);
    rec.multiplicity = static_cast<int>(row.integer(5));
    rec.ordered = row.integer(6) != 0;
    rec.compositionRole = static_cast<int>(row.integer(7));
    rec.package = idColumn(row, 8);
    metamodel.restoreLinkType(idColumn(row, 0), std::move(rec));
    return true;
  });
}

bool readObjects(Database& db, Store& store) {
  store.reserveForLoad();
  return forEachRow(db, "SELECT id, class FROM objects ORDER BY id", [&](Statement& row) {
    return store.restoreObject(idColumn(row, 0), idColumn(row, 1)) || inconsistent("object rows");
  });
}

bool readValues(Database& db, Store& store) {
  return forEachRow(db, "SELECT obj, attr, value FROM vals", [&](Statement& row) {
    return store.restoreValue(idColumn(row, 0), idColumn(row, 1), row.text(2)) ||
           inconsistent("value rows");
  });
}

// Links are appended at both ends in the order of their keys, which is the
// order they were made in: that restores the order at every end.
bool readLinks(Database& db, Store& store) {
  std::vector<LinkChange> links;
  bool ok = forEachRow(db, "SELECT obj, link_type, partner, seq FROM links", [&](Statement& row) {
    int64_t seq = row.integer(3);
    if (seq < 1 || static_cast<uint64_t>(seq) >= store.nextLinkSeq())
      return inconsistent("link rows");
    links.push_back(LinkChange{idColumn(row, 0), idColumn(row, 1), idColumn(row, 2),
                               static_cast<uint64_t>(seq)});
    return true;
  });
  if (!ok) return false;
  std::sort(links.begin(), links.end(),
            [](const LinkChange& left, const LinkChange& right) { return left.seq < right.seq; });
  for (size_t i = 0; i < links.size(); ++i) {
    if (i > 0 && links[i].seq == links[i - 1].seq) return inconsistent("link rows");
    if (!store.restoreLink(links[i])) return inconsistent("link rows");
  }
  return true;
}

}  // namespace

bool checkStoreIdentity(Database& db) {
  int64_t applicationId = db.pragmaInteger("PRAGMA application_id");
  if (applicationId < 0) {
    if (db.errorCode() == SQLITE_NOTADB)
      return refuse<bool>("the file is not a store: " + db.message());
    if (db.errorCode() == SQLITE_BUSY) return refuse<bool>("the store is open in another process");
    return damaged(db);
  }
  if (applicationId != schema::kApplicationId) {
    return refuse<bool>("the file is not a store of this system (a foreign or empty database)");
  }
  int64_t format = -1;
  bool ok = forEachRow(db, "SELECT value FROM meta WHERE key = 'format'", [&](Statement& row) {
    format = row.integer(0);
    return true;
  });
  if (!ok) return false;
  if (format >= 1 && format < schema::kFormatVersion) {
    return refuse<bool>("the store file was made by an older version of the store (format " +
                        std::to_string(format) + "); this program reads format " +
                        std::to_string(schema::kFormatVersion) + " only");
  }
  if (format != schema::kFormatVersion) {
    return refuse<bool>("the store file has format version " + std::to_string(format) +
                        ", this program reads version " + std::to_string(schema::kFormatVersion));
  }
  return true;
}

bool loadStore(Database& db, Store& store) {
  Metamodel& metamodel = store.metamodel();
  bool ok = readMeta(db, store) && readPackages(db, metamodel) && readClasses(db, metamodel) &&
            readAttributes(db, metamodel) && readLinkTypes(db, metamodel) &&
            metamodel.finishRestore() && readObjects(db, store) && readValues(db, store) &&
            readLinks(db, store);
  store.changes().clear();
  // The loader's large temporaries went back to the allocator; give them
  // back to the system, or they stay resident for the session.
  malloc_trim(0);
  return ok;
}

}  // namespace rep
