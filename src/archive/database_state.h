// What an open archive shares with its record sets: the file, the lock that keeps it exclusive,
// and the seek indexes built so far. Record sets hold it, so closing the archive first leaves them
// unusable (3420) rather than dangling.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "archive/jet/jet_file.h"
#include "archive/seek_index.h"
#include "archive/sql/join_index_cache.h"
#include "platform/archive_file.h"

namespace tarvik::archive {

struct DatabaseState {
  std::string path;
  std::unique_ptr<jet::JetFile> file;
  std::unique_ptr<platform::ArchiveLock> lock;
  bool closed = false;
  // Keyed by table name and index name, both lower-cased. Shared by every thread reading the
  // archive: owned by this state, under seek_indexes_mutex.
  std::mutex seek_indexes_mutex;
  std::map<std::string, std::unique_ptr<SeekIndex>> seek_indexes;
  // The last joined tables' key indexes, for the next queries.
  sql::JoinIndexCache join_indexes;

  ~DatabaseState();
  void close();
  const SeekIndex& seek_index(const jet::TableDef& table, const jet::Index& index);
};

}  // namespace tarvik::archive
