@echo off
erase C:\work\a.txt
move C:\work\b.tmp C:\work\a.txt
