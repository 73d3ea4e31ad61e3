// The game's clips decoded to 16-bit PCM with the WebAssembly build of libmpg123, to the very
// samples the desktop decodes: gapless (the encoder's delay and padding cut off by its info
// tag), and each floating-point sample rounded to the nearest integer, ties to even, as
// libmpg123's own 16-bit output rounds. Used by the page, and by the test that compares the
// result with the desktop's.
"use strict";

const korimoClipDecoding = {
  // Interleaved 16-bit samples of the stream's first `channels` channels.
  toPcm(decoded, channels) {
    const frames = decoded.samplesDecoded;
    const pcm = new Int16Array(frames * channels);
    for (let channel = 0; channel < channels; channel++) {
      const data = decoded.channelData[channel];
      for (let i = 0; i < frames; i++)
        pcm[i * channels + channel] = korimoClipDecoding.toSample(data[i]);
    }
    return pcm;
  },

  toSample(value) {
    const scaled = value * 32768;
    if (scaled >= 32767) return 32767;
    if (scaled <= -32768) return -32768;
    let rounded = Math.round(scaled);
    // Math.round takes halves upward; a tie goes to the even neighbour instead.
    if (rounded - scaled === 0.5 && rounded % 2 !== 0) rounded -= 1;
    return rounded;
  },

  // Decodes each stream afresh; resolves to a Map from key to {pcm} or {fault}.
  async decodeAll(MPEGDecoder, streams) {
    const decoder = new MPEGDecoder();
    await decoder.ready;
    const clips = new Map();
    for (const stream of streams) {
      await decoder.reset();
      // The decoder says what it rejected on the console; a stream with nothing left is refused.
      const decoded = decoder.decode(stream.bytes);
      if (decoded.samplesDecoded)
        clips.set(stream.key, {pcm: korimoClipDecoding.toPcm(decoded, stream.channels)});
      else
        clips.set(stream.key, {fault: "no MP3 frame the decoder could read"});
    }
    decoder.free();
    return clips;
  },
};

if (typeof module !== "undefined")
  module.exports = korimoClipDecoding;
