#include "transfer/transfer_error.h"

#include <cerrno>

namespace tarvik::transfer::errors {

TransferError type_mismatch() { return TransferError(13, "Tipo non corrispondente"); }
TransferError bad_file_name() { return TransferError(52, "Nome o numero di file non valido"); }
TransferError device_io() { return TransferError(57, "Errore di I/O della periferica"); }
TransferError disk_full() { return TransferError(61, "Disco pieno"); }
TransferError too_many_files() { return TransferError(67, "Troppi file"); }
TransferError path_access() { return TransferError(75, "Errore di accesso al percorso/file"); }
TransferError path_not_found() { return TransferError(76, "Impossibile trovare il percorso"); }

TransferError from_errno(int error_number) {
  switch (error_number) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return disk_full();
    case ENOENT:
    case ENOTDIR:
      return path_not_found();
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return path_access();
    case EMFILE:
    case ENFILE:
      return too_many_files();
    case ENAMETOOLONG:
      return bad_file_name();
    default:
      return device_io();
  }
}

}  // namespace tarvik::transfer::errors
