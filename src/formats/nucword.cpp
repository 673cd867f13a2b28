// Whole tables of correction words, eight pixels at a time. The vector code computes exactly what
// EncodeWord and the Decode functions compute for one pixel, which also handle the last few.
#include "formats/nucword.h"

#include <emmintrin.h>

#include <cstring>

namespace formats {

namespace {

// Two words' gain fields, times 1/16383 in double precision, narrowed to float.
inline __m128 GainsOf(__m128i words) {
  const __m128d reciprocal = _mm_set1_pd(1.0 / 16383.0);
  const __m128i fields = _mm_srli_epi32(words, 16);
  const __m128 low = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtepi32_pd(fields), reciprocal));
  const __m128 high =
      _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtepi32_pd(_mm_unpackhi_epi64(fields, fields)), reciprocal));
  return _mm_movelh_ps(low, high);
}

// Four gains' fields: 0 unless above 0, 0xFFFC above 4, else gain x 16383 truncated.
inline __m128i FieldsOf(__m128 gains) {
  const __m128i scaled = _mm_cvttps_epi32(_mm_mul_ps(gains, _mm_set1_ps(16383.0f)));
  const __m128i positive = _mm_castps_si128(_mm_cmpgt_ps(gains, _mm_setzero_ps()));
  const __m128i above = _mm_castps_si128(_mm_cmpgt_ps(gains, _mm_set1_ps(4.0f)));
  return _mm_or_si128(_mm_andnot_si128(above, _mm_and_si128(scaled, positive)),
                      _mm_and_si128(above, _mm_set1_epi32(static_cast<int>(kMaxGainField))));
}

}  // namespace

void SplitWords(u8* table, i16* offsets, u8* flags, std::size_t count) {
  const __m128i three = _mm_set1_epi32(3);
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    u8* at = table + 4 * i;
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16));
    const __m128i offsetsLow = _mm_srai_epi32(_mm_slli_epi32(low, 16), 18);
    const __m128i offsetsHigh = _mm_srai_epi32(_mm_slli_epi32(high, 16), 18);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(offsets + i),
                     _mm_packs_epi32(offsetsLow, offsetsHigh));
    const __m128i codes = _mm_packs_epi32(_mm_and_si128(low, three), _mm_and_si128(high, three));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(flags + i), _mm_packus_epi16(codes, codes));
    _mm_storeu_ps(reinterpret_cast<float*>(at), GainsOf(low));
    _mm_storeu_ps(reinterpret_cast<float*>(at + 16), GainsOf(high));
  }
  for (; i < count; ++i) {
    u32 word;
    std::memcpy(&word, table + 4 * i, sizeof word);
    offsets[i] = DecodeOffset(word);
    flags[i] = DecodeFlag(word);
    const float gain = DecodeGain(word);
    std::memcpy(table + 4 * i, &gain, sizeof gain);
  }
}

void JoinWords(u8* table, const i16* offsets, const u8* flags, std::size_t count) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    u8* at = table + 4 * i;
    __m128i offset = _mm_loadu_si128(reinterpret_cast<const __m128i*>(offsets + i));
    offset = _mm_max_epi16(_mm_min_epi16(offset, _mm_set1_epi16(8191)), _mm_set1_epi16(-8192));
    const __m128i codes = _mm_and_si128(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(flags + i)), _mm_set1_epi8(3));
    const __m128i lowHalves =
        _mm_or_si128(_mm_slli_epi16(offset, 2), _mm_unpacklo_epi8(codes, zero));
    const __m128i fieldsLow = FieldsOf(_mm_loadu_ps(reinterpret_cast<const float*>(at)));
    const __m128i fieldsHigh = FieldsOf(_mm_loadu_ps(reinterpret_cast<const float*>(at + 16)));
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(at),
        _mm_or_si128(_mm_unpacklo_epi16(lowHalves, zero), _mm_slli_epi32(fieldsLow, 16)));
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(at + 16),
        _mm_or_si128(_mm_unpackhi_epi16(lowHalves, zero), _mm_slli_epi32(fieldsHigh, 16)));
  }
  for (; i < count; ++i) {
    float gain;
    std::memcpy(&gain, table + 4 * i, sizeof gain);
    const u32 word = EncodeWord(offsets[i], flags[i], gain);
    std::memcpy(table + 4 * i, &word, sizeof word);
  }
}

}  // namespace formats
