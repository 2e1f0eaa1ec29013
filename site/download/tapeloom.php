<!DOCTYPE html>
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>Tapeloom 내려받기</title>
<link rel="stylesheet" href="/style.css">
</head>
<body>
<div class="top">Tapeloom</div>
<div class="box">
  <h1>화면 녹화 프로그램 Tapeloom</h1>
  <p>Framlet의 녹화 버튼은 Tapeloom이 설치되어 있을 때 바로 녹화를 시작합니다.</p>
  <p>이 시험용 사이트에는 설치 파일이 없습니다.</p>
</div>
</body>
</html>
