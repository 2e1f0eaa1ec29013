#pragma once
// Authenticode signatures of program files, as the system's trust provider
// judges them (WinVerifyTrust, no revocation check, no user interface).
#include <string>

#include "updater/update_rules.h"

namespace framlet::update {

// The file's signature: valid or not, and the signing certificate when valid.
Signature SignatureOf(const std::string& path);
// The updater's own executable.
Signature OwnSignature();

}  // namespace framlet::update
