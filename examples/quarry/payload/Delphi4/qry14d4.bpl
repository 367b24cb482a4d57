Quarry run-time package for Delphi 4 (demonstration stand-in)
