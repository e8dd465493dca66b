; The peer installer of bench/installers.sh: the same payload folder, silent-capable,
; no pages, with an uninstaller that removes the folder.
;   makensis -DCOMP=zlib|lzma -DPAYLOAD=/path/payload -DOUT=/path/out.exe peer.nsi
; Installed with  out.exe /S /D=C:\dir ; removed with  C:\dir\Uninstall.exe /S _?=C:\dir
Unicode false
SetCompressor /SOLID ${COMP}
Name "Bench Payload"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES\BenchPayload"
RequestExecutionLevel admin
Section
  SetOutPath "$INSTDIR"
  File /r "${PAYLOAD}/*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
SectionEnd
Section "Uninstall"
  RMDir /r "$INSTDIR"
SectionEnd
