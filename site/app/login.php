<!DOCTYPE html>
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>Framlet 로그인 확인</title>
<script type="text/javascript" src="/common.js"></script>
<script type="text/javascript">
// The sign-in check: tell the program, then go back where the member was.
function finish() {
  framletCall("FL_Login");
  setCookie("framlet_member", "1");
  var back = returnAddress(getCookie("framlet_rtn"));
  clearCookie("framlet_rtn");
  window.location.replace(back ? back : START_PAGE);
}
</script>
</head>
<body onload="finish()">
<p>로그인 확인 중입니다...</p>
</body>
</html>
