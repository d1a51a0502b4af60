@echo off
rem A package recipe: the sample program with the sprite sheet as upper sprites (SPU0) and background (BGU0),
rem its palette for both, the title screen on the upper screen and the MEM$ text, in one file.
rem   make-package.bat [GRANVEL-CLI] [OUTPUT]
setlocal
set "here=%~dp0"
set "cli=%~1"
if "%cli%"=="" set "cli=%here%..\granvel-cli.exe"
set "out=%~2"
if "%out%"=="" set "out=%CD%\HELLO.zkp"
"%cli%" package --ini NUL -o "%out%" --name hello ^
  PRG="%here%Hello.txt" ^
  SPU0="%here%Sprites.bmp" --size SPU0=16x16 ^
  BGU0="%here%Sprites.bmp" ^
  COL0="%here%Sprites.bmp" COL1="%here%Sprites.bmp" ^
  SCU0="%here%Title_scr.txt" ^
  MEM="%here%Notes_mem.txt"
