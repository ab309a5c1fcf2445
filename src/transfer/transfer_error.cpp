#include "transfer/transfer_error.h"

namespace tarvik::transfer::errors {

TransferError type_mismatch() { return TransferError(13, "Tipo non corrispondente"); }
TransferError bad_file_name() { return TransferError(52, "Nome o numero di file non valido"); }
TransferError device_io() { return TransferError(57, "Errore di I/O della periferica"); }
TransferError disk_full() { return TransferError(61, "Disco pieno"); }
TransferError too_many_files() { return TransferError(67, "Troppi file"); }
TransferError path_access() { return TransferError(75, "Errore di accesso al percorso/file"); }
TransferError path_not_found() { return TransferError(76, "Impossibile trovare il percorso"); }

}  // namespace tarvik::transfer::errors
