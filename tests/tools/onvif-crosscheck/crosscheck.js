// Reads fake ONVIF devices with the npm "onvif" client, which shares nothing with our own client:
// device information, profiles and video encoder configurations must come out as the fake was
// told, through media2 and through media (version 1), and wrong credentials must be refused.
// Usage: node crosscheck.js <path of norda_fakedevice>. Exit 0: all held, 1: a check failed,
// 77: skipped (the package is not installed).
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const util = require('util');

let onvif;
try {
    onvif = require('onvif');
} catch (error) {
    console.log(`SKIP: the npm package "onvif" is not installed; run "npm ci" in ${__dirname}`);
    process.exit(77);
}

const program = process.argv[2];
const password = 'cross-check';
const config = {
    devices: [
        { port: 0, password, streams: [
            { encoding: 'H264', width: 1920, height: 1080, frameRate: 25, bitrate: 4096, quality: 5, qualityMin: 1, qualityMax: 6 },
            { encoding: 'H264', width: 640, height: 360, frameRate: 15, bitrate: 512, quality: 3, qualityMin: 1, qualityMax: 6 }] },
        { port: 0, password, kind: 'recorder', channels: 4, media2: false, streams: [
            { encoding: 'H264', width: 2560, height: 1440, frameRate: 20, bitrate: 6144, quality: 4 }] },
    ],
};

let failures = 0;
function check(what, actual, expected) {
    const ok = JSON.stringify(actual) === JSON.stringify(expected);
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}: ${JSON.stringify(actual)}${ok ? '' : ` (expected ${JSON.stringify(expected)})`}`);
    if (!ok)
        failures++;
}

// Starts the fake and resolves with [{port, serial}] once it listens.
function startFake() {
    const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'crosscheck-')), 'devices.json');
    fs.writeFileSync(file, JSON.stringify(config));
    const child = spawn(program, ['--config', file], { stdio: ['ignore', 'pipe', 'inherit'] });
    return new Promise((resolve, reject) => {
        let output = '';
        const devices = [];
        child.on('exit', code => reject(new Error(`norda_fakedevice ended with ${code}`)));
        child.stdout.on('data', chunk => {
            output += chunk;
            for (const match of output.matchAll(/^listening 127\.0\.0\.1:(\d+) \w+ (\S+),/gm))
                if (!devices.some(device => device.port === +match[1]))
                    devices.push({ port: +match[1], serial: match[2] });
            if (devices.length === config.devices.length)
                resolve({ child, devices });
        });
    });
}

function connect(port, pass) {
    return new Promise((resolve, reject) => {
        const cam = new onvif.Cam({ hostname: '127.0.0.1', port, username: 'admin', password: pass, timeout: 10000 },
            error => (error ? reject(error) : resolve(cam)));
    });
}

function encoderOf(profile) {
    const encoder = profile.videoEncoderConfiguration;
    return {
        encoding: encoder.encoding, width: encoder.resolution.width, height: encoder.resolution.height,
        frameRate: encoder.rateControl.frameRateLimit, bitrate: encoder.rateControl.bitrateLimit, quality: encoder.quality,
    };
}

async function main() {
    const { child, devices } = await startFake();
    try {
        const [camera, recorder] = devices;
        const cam = await connect(camera.port, password);
        const information = await util.promisify(cam.getDeviceInformation).call(cam);
        check('camera manufacturer, model, serial', [information.manufacturer, information.model, information.serialNumber],
              ['Fakework', 'FC-100', camera.serial]);
        check('camera profiles', cam.profiles.map(encoderOf), [
            { encoding: 'H264', width: 1920, height: 1080, frameRate: 25, bitrate: 4096, quality: 5 },
            { encoding: 'H264', width: 640, height: 360, frameRate: 15, bitrate: 512, quality: 3 }]);
        const token = cam.profiles[1].videoEncoderConfiguration.$.token;
        const encoder = await util.promisify(cam.getVideoEncoderConfiguration).call(cam, token);
        check('second encoder by token', [encoder.resolution.width, encoder.resolution.height, encoder.rateControl.bitrateLimit],
              [640, 360, 512]);
        const options = await util.promisify(cam.getVideoEncoderConfigurationOptions).call(cam, token);
        check('quality range', [options.qualityRange.min, options.qualityRange.max], [1, 6]);

        const nvr = await connect(recorder.port, password);
        check('recorder video sources', nvr.videoSources.length, 4);
        check('recorder profiles, media 1 only', nvr.profiles.map(encoderOf),
              Array(4).fill({ encoding: 'H264', width: 2560, height: 1440, frameRate: 20, bitrate: 6144, quality: 4 }));
        const nvrInformation = await util.promisify(nvr.getDeviceInformation).call(nvr);
        check('recorder model', nvrInformation.model, 'FR-400');

        let refusal = 'not refused';
        try {
            const intruder = await connect(camera.port, 'wrong');
            await util.promisify(intruder.getDeviceInformation).call(intruder);
        } catch (error) {
            refusal = /NotAuthorized|not Authorized/i.test(String(error)) ? 'not authorized' : String(error);
        }
        check('wrong password refused', refusal, 'not authorized');
    } finally {
        child.kill('SIGTERM');
    }
}

main().then(() => {
    console.log(failures ? `${failures} check(s) failed` : 'all checks held');
    process.exit(failures ? 1 : 0);
}, error => {
    console.log(`FAIL: ${error.stack || error}`);
    process.exit(1);
});
