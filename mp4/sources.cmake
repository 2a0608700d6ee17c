# Our MP4 writers (H.264 and AAC tracks: 'moov' ahead of 'mdat', or in
# fragments as a recording goes), on the AVI layer's file interface.
brantle_layer(mp4 DEPENDS avi
    PORTABLE mp4/AacConfig.cpp mp4/AvcConfig.cpp mp4/AvcUnits.cpp mp4/FileMove.cpp
             mp4/Mp4Layout.cpp mp4/Mp4Movie.cpp mp4/Mp4SampleEntries.cpp
             mp4/Mp4SampleTable.cpp mp4/Mp4Writer.cpp mp4/Mp4Fragment.cpp
             mp4/Mp4FragmentWriter.cpp)
