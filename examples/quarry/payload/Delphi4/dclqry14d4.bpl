Quarry design-time package for Delphi 4 (demonstration stand-in)
