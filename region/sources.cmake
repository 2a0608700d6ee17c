list(APPEND BRANTLE_PORTABLE_SOURCES
    region/RegionMessage.cpp
    region/SelectionGeometry.cpp
    region/SelectionLabel.cpp
    region/WindowHit.cpp
)
list(APPEND BRANTLE_WIN_SOURCES
    region/LabelFont.cpp
    region/MouseCaptureWnd.cpp
    region/SelectionPainter.cpp
    region/WindowList.cpp
)
