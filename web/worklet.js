// The page's audio sink on the audio thread: plays the engine's interleaved
// 16-bit stereo as it arrives, and after every block (128 frames) tells the
// page how many frames it has played and how often it ran dry.
"use strict";

class ViloraSink extends AudioWorkletProcessor {
    constructor() {
        super();
        this.chunks = []; // Int16Array, interleaved left, right
        this.offset = 0; // frames of chunks[0] already played
        this.playing = false;
        this.played = 0; // frames played, and frames dropped by a discard
        this.underruns = 0; // blocks that found too little to play
        this.refilling = false; // a discard emptied the queue; new audio is on its way
        this.port.onmessage = (event) => this.receive(event.data);
    }

    receive(message) {
        if (message.samples) {
            this.chunks.push(message.samples);
            this.refilling = false;
        }
        if (message.play !== undefined) this.playing = message.play;
        if (message.discard) {
            for (const chunk of this.chunks) this.played += chunk.length / 2;
            this.played -= this.offset;
            this.chunks = [];
            this.offset = 0;
            this.refilling = true;
        }
    }

    process(inputs, outputs) {
        const left = outputs[0][0];
        const right = outputs[0][1] || left;
        if (!this.playing) return true; // the outputs come zeroed
        let done = 0;
        while (done < left.length && this.chunks.length > 0) {
            const chunk = this.chunks[0];
            const frames = chunk.length / 2;
            const count = Math.min(left.length - done, frames - this.offset);
            for (let i = 0; i < count; ++i) {
                const at = 2 * (this.offset + i);
                left[done + i] = chunk[at] / 32768;
                right[done + i] = chunk[at + 1] / 32768;
            }
            done += count;
            this.offset += count;
            if (this.offset === frames) {
                this.chunks.shift();
                this.offset = 0;
            }
        }
        if (done < left.length && !this.refilling) ++this.underruns;
        this.played += done;
        this.port.postMessage({played: this.played, underruns: this.underruns});
        return true;
    }
}

registerProcessor("vilora-sink", ViloraSink);
