# The Aravis transport of libzelcam (real GigE Vision and USB3 Vision cameras). On by default when
# pkg-config finds Aravis 0.8; without it libzelcam reaches only its simulated device.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(ARAVIS QUIET IMPORTED_TARGET aravis-0.8)
endif()
if(ARAVIS_FOUND)
  set(TQV_ARAVIS_DEFAULT ON)
else()
  set(TQV_ARAVIS_DEFAULT OFF)
endif()
option(TQV_WITH_ARAVIS "Build the Aravis transport of libzelcam (gev: and aravis: addresses)"
       ${TQV_ARAVIS_DEFAULT})
if(TQV_WITH_ARAVIS AND NOT ARAVIS_FOUND)
  message(FATAL_ERROR "TQV_WITH_ARAVIS needs aravis-0.8 "
                      "(Debian: libaravis-dev libusb-1.0-0-dev), or -DTQV_WITH_ARAVIS=OFF")
endif()
message(STATUS "Aravis transport: ${TQV_WITH_ARAVIS}")
