# Checks that WAV names a RIFF/WAVE file holding at least MIN_BYTES bytes.
file(SIZE ${WAV} size)
file(READ ${WAV} head LIMIT 12 HEX)
if(NOT head MATCHES "^52494646........57415645")
  message(FATAL_ERROR "${WAV} is no WAV file (${head})")
endif()
if(size LESS ${MIN_BYTES})
  message(FATAL_ERROR "${WAV} holds ${size} bytes, fewer than ${MIN_BYTES}")
endif()
