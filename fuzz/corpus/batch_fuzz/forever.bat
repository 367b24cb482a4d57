cd ..
rem x
:a
goto a
