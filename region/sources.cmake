# Choosing the region to record: the selection window and its geometry.
brantle_layer(region DEPENDS framework res
    PORTABLE
        region/RegionMessage.cpp
        region/SelectionGeometry.cpp
        region/SelectionLabel.cpp
        region/WindowHit.cpp
    WINDOWS
        region/LabelFont.cpp
        region/MouseCaptureWnd.cpp
        region/SelectionPainter.cpp
        region/WindowList.cpp)
