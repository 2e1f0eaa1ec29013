// Shared by the local pages. Written for the browser control's oldest
// document mode: no atob, no JSON, no addEventListener.

// Calls one of the program's page methods; false when the page is not shown
// inside the program (an ordinary browser has no such methods).
function framletCall(name) {
  try {
    var program = window.external;
    if (name == "FL_Login") program.FL_Login();
    else if (name == "FL_Logout") program.FL_Logout();
    else if (name == "FL_Popclose") program.FL_Popclose();
    else if (name == "FL_Popckclose") program.FL_Popckclose();
    else return false;
    return true;
  } catch (e) {
    return false;
  }
}

function setCookie(name, value) {
  document.cookie = name + "=" + value + "; path=/";
}

function getCookie(name) {
  var parts = document.cookie.split(/;\s*/);
  for (var i = 0; i < parts.length; i++) {
    var eq = parts[i].indexOf("=");
    if (eq > 0 && parts[i].substring(0, eq) == name) return parts[i].substring(eq + 1);
  }
  return "";
}

function clearCookie(name) {
  document.cookie = name + "=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT";
}

function queryValue(name) {
  var query = window.location.search.substring(1).split("&");
  for (var i = 0; i < query.length; i++) {
    var eq = query[i].indexOf("=");
    if (eq > 0 && query[i].substring(0, eq) == name) return query[i].substring(eq + 1);
  }
  return "";
}

// Base64 (RFC 4648) to an array of byte values; null when malformed.
function base64Bytes(text) {
  var alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  text = text.replace(/%2B/gi, "+").replace(/%2F/gi, "/").replace(/%3D/gi, "=");
  if (text.length % 4 != 0) return null;
  var bytes = [];
  for (var i = 0; i < text.length; i += 4) {
    var group = 0, pad = 0;
    for (var j = 0; j < 4; j++) {
      var c = text.charAt(i + j);
      var v = alphabet.indexOf(c);
      if (c == "=") { v = 0; pad++; }
      else if (v < 0 || pad > 0) return null;
      group = group * 64 + v;
    }
    bytes.push((group >> 16) & 255);
    if (pad < 2) bytes.push((group >> 8) & 255);
    if (pad < 1) bytes.push(group & 255);
  }
  return bytes;
}

// The program sends the address box's bytes (system code page) and one zero
// byte. Bytes above 0x7F are kept as percent escapes, which the server reads
// back as the same bytes.
function returnAddress(encoded) {
  var bytes = base64Bytes(encoded);
  if (!bytes || bytes.length == 0 || bytes[bytes.length - 1] != 0) return "";
  var address = "";
  for (var i = 0; i < bytes.length - 1; i++) {
    var b = bytes[i];
    address += b < 0x80 ? String.fromCharCode(b) : "%" + (b < 16 ? "0" : "") + b.toString(16).toUpperCase();
  }
  if (address.length == 0) return "";
  if (!/^[a-z][a-z0-9+.\-]*:/i.test(address)) address = "http://" + address;
  // Only web pages: never a script address.
  return /^https?:\/\//i.test(address) ? address : "";
}

var START_PAGE = "/home/index.html?ver=5.0";
